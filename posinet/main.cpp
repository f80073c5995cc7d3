// Entry point of the position provider.
#include "posinet/posinet_app.h"

namespace {
CPosinetApp thePosinetApp;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
    return AppWinMain(instance, commandLine, showCommand);
}
