#include "install/launcher/install_app.h"

#include "framework/profile.h"
#include "install/launcher/cover_dialog.h"
#include "install/launcher/main_menu_dialog.h"
#include "install/launcher/portable/launcher_logic.h"
#include "install/shared/portable/paths.h"

int IsProductInstalled() {
    char windowsDir[korva::kPathSize] = {};
    UINT length = GetWindowsDirectoryA(windowsDir, sizeof windowsDir);
    if (length == 0 || length >= sizeof windowsDir) {
        return 0;
    }
    const std::string version = fw::ReadProfileString(korva::JoinPath(windowsDir, "korva.ini"),
                                                      "Installazione", "Versione_di_KORVA", "", 30);
    return version.empty() ? 0 : 1;
}

BOOL CInstallApp::InitInstance() {
    const korva::StartupCommand command = korva::ParseCommandLine(commandLine_);
    CCoverDlg cover(engine_);
    cover.removeMode = command.removeMode ? 1 : 0;

    if (cover.removeMode) {
        // "del" starts a removal run directly: welcome, removal, final message.
        cover.DoModal();
        return TRUE;
    }
    if (command.autorun && IsProductInstalled()) {
        return TRUE;
    }
    CMainMenuDlg menu(engine_);
    menu.DoModal();
    return TRUE;
}
