// Entry point of the CD launcher and installer.
#include "install/engine/engine.h"
#include "install/launcher/install_app.h"

namespace {
// The launcher's windows use the engine through its interface; the program wires them.
korva::Engine theEngine;
CInstallApp theInstallApp(theEngine);
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
    return AppWinMain(instance, commandLine, showCommand);
}
