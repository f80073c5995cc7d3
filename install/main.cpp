// Entry point of the CD launcher and installer.
#include "install_app.h"
#include "installation_engine.h"

namespace {
// The launcher's windows use the engine through its interface; the program wires them.
korva::Engine theEngine;
CInstallApp theInstallApp(theEngine);
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
    return AppWinMain(instance, commandLine, showCommand);
}
