#include "install/launcher/cover_dialog.h"

#include "framework/app.h"
#include "framework/file_exception.h"
#include "framework/file_probe.h"
#include "framework/resource_strings.h"
#include "imaging/cdib.h"
#include "imaging/cwmf.h"
#include "imaging/dib_gdi.h"
#include "install/launcher/portable/cover_files.h"
#include "install/launcher/portable/launcher_logic.h"
#include "install/launcher/welcome_dialog.h"
#include "install/shared/installer_dir.h"
#include "resources/install/resource.h"

CCoverDlg::CCoverDlg(korva::InstallationEngine& engine) : CDialog(IDD_COVER), engine_(engine) {
    char directory[korva::kPathSize] = {};
    UINT length = GetWindowsDirectoryA(directory, sizeof directory);
    if (length > 0 && length < sizeof directory) {
        korva::CopyToField(windowsDir, directory);
    }
}

CCoverDlg::~CCoverDlg() = default;

korva::InstallRequest CCoverDlg::Request() {
    return {install_, *this,           windowsDir,         presetSourceDir,
            language, doneMessageMode, incompatibleWindows};
}

int CCoverDlg::RunInstallation() {
    korva::InstallRequest request = Request();
    return engine_.RunInstallation(request);
}

int CCoverDlg::RemoveInstallation() {
    return engine_.RemoveInstallation(windowsDir);
}

void CCoverDlg::ReplaceCommonControls() {
    korva::InstallRequest request = Request();
    engine_.ReplaceCommonControls(request);
}

BOOL CCoverDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    fw::WindowDc screen(nullptr);
    int width = GetDeviceCaps(screen.Get(), HORZRES);
    int height = GetDeviceCaps(screen.Get(), VERTRES);
    MoveWindow(hwnd_, 0, 0, width, height, TRUE);
    Invalidate();
    return TRUE;
}

bool CCoverDlg::OnMessage(UINT message, WPARAM, LPARAM, INT_PTR& result) {
    if (message != WM_PAINT) {
        return false;
    }
    OnPaint();
    result = TRUE;
    return true;
}

void CCoverDlg::OnPaint() {
    {
        fw::PaintDc dc(hwnd_);
        RECT client;
        GetClientRect(hwnd_, &client);
        DrawCover(dc.Get(), client);
    }
    // The paint has ended: the welcome, the whole run and the final message below are modal
    // dialogs of their own, and nothing of this paint stays open while they run.
    if (sequenceStarted) {
        return;
    }
    try {
        RunCoverSequence();
    } catch (const CFileException&) {
        // A file error ends the sequence without a message; the cover stays until Esc.
    }
}

int CCoverDlg::LoadCover() {
    korva::PathField installerDir{};
    GetInstallerDir(installerDir);
    if (!coverBitmap) {
        const int width = GetSystemMetrics(SM_CXSCREEN);
        const int height = GetSystemMetrics(SM_CYSCREEN);
        for (const std::string& name : korva::CoverCandidates(width, height)) {
            CDib loader;
            fw::UniquePalette palette;
            fw::UniqueBitmap bitmap =
                loader.LoadPicture(korva::JoinPath(installerDir, name), palette, false);
            if (bitmap) {
                coverBitmap = std::move(bitmap);
                coverPalette = std::move(palette);
                break;
            }
        }
        if (coverBitmap) {
            coverBitmapLoaded = 1;
        }
    }
    if (coverMetafile || coverBitmapLoaded == 1) {
        return 1;
    }
    const std::string drawing = korva::JoinPath(installerDir, korva::kCoverDrawingName);
    if (fw::CanOpenForReading(drawing)) {
        CWmf reader;
        coverMetafile = reader.OpenMetafile(drawing);
        if (coverMetafile) {
            coverMetafileLoaded = 1;
            return 1;
        }
    }
    coverMetafileLoaded = 0;
    return 0;
}

int CCoverDlg::DrawCover(HDC dc, const RECT& client) {
    // Without a picture the search is repeated on every paint.
    if (coverBitmapLoaded == 0 && !coverMetafile) {
        LoadCover();
    }
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (coverBitmapLoaded == 1) {
        SetStretchBltMode(dc, COLORONCOLOR);
        BITMAP description{};
        GetObjectA(coverBitmap.Get(), sizeof description, &description);
        fw::UniqueMemoryDc memory(CreateCompatibleDC(nullptr));
        fw::SelectObjectScope selected(memory.Get(), coverBitmap.Get());
        korva::PaletteScope source(memory.Get(), coverPalette.Get(), true);
        korva::PaletteScope target(dc, coverPalette.Get(), true);
        StretchBlt(dc, 0, 0, width, height, memory.Get(), 0, 0, description.bmWidth,
                   description.bmHeight, SRCCOPY);
    } else if (coverMetafileLoaded == 1) {
        // The frame in pixels, then the drawing's 800 × 800 units over the whole client area.
        SetMapMode(dc, MM_ANISOTROPIC);
        Rectangle(dc, 0, 0, width - 1, height - 1);
        SetWindowOrgEx(dc, 0, 0, nullptr);
        SetWindowExtEx(dc, 800, 800, nullptr);
        SetViewportExtEx(dc, width, height, nullptr);
        SetSystemPaletteUse(dc, SYSPAL_NOSTATIC);
        SetSystemPaletteUse(dc, SYSPAL_STATIC);
        if (!PlayMetaFile(dc, coverMetafile.Get())) {
            AppMessageBox(IDS_COVER_DRAWING_ERROR, MB_OK);
        }
        SetMapMode(dc, MM_TEXT);
    }
    return 1;
}

void CCoverDlg::RunCoverSequence() {
    // Set first: repaints caused by the dialogs below must not start the sequence again.
    sequenceStarted = 1;

    korva::CoverOutcome outcome;
    outcome.removeMode = removeMode != 0;
    {
        CWelcomeDlg welcome;
        if (welcome.DoModal() == IDOK) {
            outcome.welcomeAccepted = true;
            language = welcome.language;
            outcome.result = removeMode ? RemoveInstallation() : RunInstallation();
        }
    }
    outcome.doneMessageMode = doneMessageMode;
    outcome.incompatibleWindows = incompatibleWindows;

    if (unsigned messageId = korva::FinalMessageId(outcome)) {
        OwnedMessageBox(fw::LoadResourceString(messageId),
                        fw::LoadResourceString(IDS_COVER_CAPTION), MB_OK);
    }
    EndDialog(IDOK);
}
