// ctlupdate: installs the common-controls library it carries on Windows 95 at the next restart.
#include "ctlupdate/dialogue.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    korva::RunUpdateDialogue();
    return 0;
}
