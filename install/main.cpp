// Entry point of the CD launcher and installer.
#include "install_app.h"

namespace {
CInstallApp theInstallApp;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
    return AppWinMain(instance, commandLine, showCommand);
}
