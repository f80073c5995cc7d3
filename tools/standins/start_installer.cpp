// Stand-in for the small starters of the CD (delkorva.exe, setup.exe): starts install.exe
// from its own directory with the command line it was built with, and ends.
#include <windows.h>

#include <cstring>
#include <string>

#ifndef KORVA_INSTALLER_ARGUMENTS
#define KORVA_INSTALLER_ARGUMENTS ""
#endif

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    char* slash = length > 0 && length < MAX_PATH ? std::strrchr(path, '\\') : nullptr;
    if (!slash) {
        return 1;
    }
    const std::string directory(path, slash);
    std::string commandLine = "\"" + directory + "\\install.exe\"";
    const char* arguments = KORVA_INSTALLER_ARGUMENTS;
    if (arguments[0] != '\0') {
        commandLine.append(" ").append(arguments);
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.c_str(), &startup, &process)) {
        return 1;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}
