// The full-screen cover window that carries one installation or removal: welcome and
// language, the run itself, and the final message, all started from its first paint.
#pragma once

#include "framework/dialog.h"
#include "framework/handles.h"
#include "install/shared/installation_engine.h"
#include "install/shared/portable/install_state.h"
#include "install/shared/portable/paths.h"

class CCoverDlg : public CDialog {
public:
    // The engine carries out what the cover window starts.
    explicit CCoverDlg(korva::InstallationEngine& engine);
    ~CCoverDlg() override;

    // The installation run, by the engine; 1 when installed, 0 when abandoned.
    int RunInstallation();
    // The removal of an installed product; 1 when removed, 0 when nothing was found.
    int RemoveInstallation();
    // The last closing step of an installation: the common-controls library check and its
    // replacement at the next start; sets the flags that choose the final message.
    void ReplaceCommonControls();

    // Welcome, run or removal, final message, close. Runs once, from the first paint.
    void RunCoverSequence();

    // Loads the cover bitmap chosen for the screen size, or else the cover drawing; non-zero
    // when one of them is available.
    int LoadCover();

    int removeMode = 0;
    int doneMessageMode = 1;
    int incompatibleWindows = 0;
    korva::PathField presetSourceDir{};
    korva::PathField windowsDir{};
    int language = 1;
    int sequenceStarted = 0;

    // Cover picture; loaded once and kept for the life of the window.
    fw::UniqueBitmap coverBitmap;
    fw::UniquePalette coverPalette;
    fw::UniqueMetafile coverMetafile;
    int coverBitmapLoaded = 0;
    int coverMetafileLoaded = 0;

    korva::InstallState install_;

protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    // What the engine works on: this window's state and flags.
    korva::InstallRequest Request();
    void OnPaint();
    // Paints the cover over the client area; always non-zero.
    int DrawCover(HDC dc, const RECT& client);

    korva::InstallationEngine& engine_;
};
