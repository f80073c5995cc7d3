// Stand-in for the map program korva.exe. Like the map program, its first start records the
// installation directory (its own directory) as "INFO"/"KorvaDir" in korva.ini of the
// Windows directory, where the removal looks for the installation; later starts leave the
// key as it is. It also appends its command line to korva.log beside itself.
#include <windows.h>

#include <cstring>
#include <string>

namespace {

std::string ModuleDirectory() {
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return {};
    }
    char* slash = std::strrchr(path, '\\');
    return slash ? std::string(path, slash) : std::string();
}

std::string SettingsFile() {
    char windowsDir[MAX_PATH] = {};
    UINT length = GetWindowsDirectoryA(windowsDir, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return {};
    }
    return std::string(windowsDir) + "\\korva.ini";
}

void AppendLog(const std::string& directory) {
    HANDLE log = CreateFileA((directory + "\\korva.log").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ,
                             nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) {
        return;
    }
    const char* commandLine = GetCommandLineA();
    DWORD written = 0;
    WriteFile(log, commandLine, static_cast<DWORD>(std::strlen(commandLine)), &written, nullptr);
    WriteFile(log, "\r\n", 2, &written, nullptr);
    CloseHandle(log);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::string directory = ModuleDirectory();
    const std::string settings = SettingsFile();
    if (directory.empty() || settings.empty()) {
        return 1;
    }
    char recorded[MAX_PATH] = {};
    GetPrivateProfileStringA("INFO", "KorvaDir", "", recorded, MAX_PATH, settings.c_str());
    if (recorded[0] == '\0') {
        WritePrivateProfileStringA("INFO", "KorvaDir", directory.c_str(), settings.c_str());
    }
    AppendLog(directory);
    return 0;
}
