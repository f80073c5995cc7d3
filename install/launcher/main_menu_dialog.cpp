#include "install/launcher/main_menu_dialog.h"

#include "framework/app.h"
#include "framework/file_probe.h"
#include "framework/profile.h"
#include "framework/resource_strings.h"
#include "imaging/cdib.h"
#include "install/launcher/cover_dialog.h"
#include "install/launcher/draw_bitmap.h"
#include "install/launcher/portable/cover_files.h"
#include "install/shared/installer_dir.h"
#include "resources/install/resource.h"

namespace {
constexpr unsigned kValueSize = 260;
}

CMainMenuDlg::CMainMenuDlg(korva::InstallationEngine& engine)
    : CDialog(IDD_MAIN_MENU), engine_(engine) {
    GetInstallerDir(installerDir);
}

CMainMenuDlg::~CMainMenuDlg() = default;

bool CMainMenuDlg::OnCommand(WORD id, WORD notifyCode) {
    if (notifyCode != BN_CLICKED) {
        return false;
    }
    if (id == IDC_DEMONSTRATION) {
        RunDemonstration();
        return true;
    }
    if (const korva::EditionEntry* edition = korva::FindEdition(id)) {
        StartEdition(*edition);
        return true;
    }
    return false;
}

bool CMainMenuDlg::OnMessage(UINT message, WPARAM, LPARAM, INT_PTR& result) {
    if (message != WM_PAINT) {
        return false;
    }
    OnPaint();
    result = TRUE;
    return true;
}

void CMainMenuDlg::OnPaint() {
    fw::PaintDc dc(hwnd_);
    if (!menuImage) {
        // Tried again on the next paint when the picture cannot be loaded.
        CDib loader;
        menuImage = loader.LoadPicture(korva::JoinPath(installerDir, korva::kMenuPictureName),
                                       menuPalette, false);
    }
    if (menuImage) {
        RECT client;
        GetClientRect(hwnd_, &client);
        DrawBitmap(dc.Get(), menuImage.Get(), menuPalette.Get(), 0, 0, client.right, client.bottom);
    }
}

void CMainMenuDlg::StartEdition(const korva::EditionEntry& edition) {
    CCoverDlg cover(engine_);
    cover.install_.editionInstall = true;

    const std::string setvars = korva::SetvarsPath(installerDir);
    if (edition.filmOfferFirst && OfferEditionDemo(setvars, edition.areaKey)) {
        return;
    }
    if (!CheckPresence(setvars, edition.areaKey)) {
        return;
    }
    const std::string firstDir = fw::ReadProfileString(setvars, edition.areaKey, "FirstDir",
                                                       edition.defaultFirstDir, kValueSize);
    const std::string source = korva::ResolveFirstDir(installerDir, firstDir);
    if (!korva::CopyToField(cover.presetSourceDir, source)) {
        AppMessageBox(
            fw::FormatText(fw::LoadResourceString(IDS_PATH_TOO_LONG).c_str(), source.c_str()),
            MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    cover.DoModal();
}

int CMainMenuDlg::CheckPresence(const std::string& setvarsPath, const char* areaKey) {
    const std::string presence =
        fw::ReadProfileString(setvarsPath, areaKey, "Presence", "1", kValueSize);
    if (korva::IsEditionAbsent(presence)) {
        AppMessageBox(IDS_EDITION_ABSENT, MB_OK);
        return 0;
    }
    return 1;
}

int CMainMenuDlg::OfferEditionDemo(const std::string& setvarsPath, const char* areaKey) {
    const std::string film =
        fw::ReadProfileString(setvarsPath, areaKey, "file_demo", "", kValueSize);
    if (film.empty() || !fw::CanOpenForReading(korva::FilmFilePath(installerDir, film))) {
        return 0;
    }
    if (AppMessageBox(IDS_EDITION_FILM_OFFER, MB_YESNO) == IDYES) {
        WinExec(korva::FilmPlayerCommand(installerDir, film).c_str(), SW_SHOWNORMAL);
    }
    return 1;
}

void CMainMenuDlg::RunDemonstration() {
    const std::string film = fw::ReadProfileString(korva::SetvarsPath(installerDir), "General",
                                                   "AutoDemo", "italia.dem", kValueSize);
    if (fw::CanOpenForReading(korva::FilmPlayerPath(installerDir))) {
        WinExec(korva::FilmPlayerCommand(installerDir, film).c_str(), SW_SHOWNORMAL);
    } else if (fw::CanOpenForReading(korva::DemoProgramPath(installerDir))) {
        WinExec(korva::DemoProgramPath(installerDir).c_str(), SW_SHOWNORMAL);
    }
}
