// The installer's application object: reads the command line and opens the main menu or a
// removal run. It has no main window; the program ends when InitInstance returns.
#pragma once

#include "framework/app.h"
#include "install/shared/installation_engine.h"

class CInstallApp : public CWinApp {
public:
    // The engine carries out the installations and removals the launcher starts.
    explicit CInstallApp(korva::InstallationEngine& engine) : engine_(engine) {}
    BOOL InitInstance() override;

private:
    korva::InstallationEngine& engine_;
};

// Non-zero when korva.ini in the Windows directory names an installed version.
int IsProductInstalled();
