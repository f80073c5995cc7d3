// The launcher's main menu: install an edition from the CD, play the demonstration, leave.
#pragma once

#include "framework/dialog.h"
#include "framework/handles.h"
#include "install/launcher/portable/launcher_logic.h"
#include "install/shared/installation_engine.h"
#include "install/shared/portable/paths.h"

#include <string>

class CMainMenuDlg : public CDialog {
public:
    // The engine is handed to the cover window of every edition started.
    explicit CMainMenuDlg(korva::InstallationEngine& engine);
    ~CMainMenuDlg() override;

    // Opens the cover window for one edition, after the film offer and presence checks.
    void StartEdition(const korva::EditionEntry& edition);
    // Non-zero when the edition may be installed; otherwise tells the user why not.
    int CheckPresence(const std::string& setvarsPath, const char* areaKey);
    // Non-zero when the edition's film was offered instead of the installation.
    int OfferEditionDemo(const std::string& setvarsPath, const char* areaKey);
    // Starts the film player, or else the demonstration program, from the CD.
    void RunDemonstration();

    korva::PathField installerDir{};
    fw::UniqueBitmap menuImage;
    fw::UniquePalette menuPalette;

protected:
    BOOL OnInitDialog() override { return CDialog::OnInitDialog(); }
    bool OnCommand(WORD id, WORD notifyCode) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    // Paints the background picture over the client area, loading it on the first paint.
    void OnPaint();

    korva::InstallationEngine& engine_;
};
