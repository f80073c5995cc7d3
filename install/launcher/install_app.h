// The installer's application object: reads the command line and opens the main menu or a
// removal run. It has no main window; the program ends when InitInstance returns.
#pragma once

#include "app.h"

class CInstallApp : public CWinApp {
public:
    BOOL InitInstance() override;
};

// Non-zero when korva.ini in the Windows directory names an installed version.
int IsProductInstalled();
