#include "common_controls_state.h"

#include "scratch.h"

#include <windows.h>

#include <algorithm>

namespace testfs {

bool RunsUnderWow64() {
    using IsWow64Function = BOOL(WINAPI*)(HANDLE, PBOOL);
    const auto isWow64 = reinterpret_cast<IsWow64Function>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "IsWow64Process")));
    BOOL wow64 = FALSE;
    return isWow64 && isWow64(GetCurrentProcess(), &wow64) && wow64;
}

std::string SystemDir() {
    using DirectoryFunction = UINT(WINAPI*)(LPSTR, UINT);
    const auto wow64Directory = reinterpret_cast<DirectoryFunction>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetSystemWow64DirectoryA")));
    char dir[MAX_PATH] = {};
    if (wow64Directory && RunsUnderWow64() && wow64Directory(dir, MAX_PATH) > 0) {
        return dir;
    }
    GetSystemDirectoryA(dir, MAX_PATH);
    return dir;
}

std::string WininitPath() {
    return WindowsDir() + "\\wininit.ini";
}

std::string LibraryPath() {
    return SystemDir() + "\\comctl32.dll";
}

void CleanCommonControls(const std::vector<std::string>& copies) {
    for (const std::string& copy : copies) {
        RemoveTree(copy);
        DeleteFileIfAny(copy);
    }
    WritePrivateProfileStringA("rename", LibraryPath().c_str(), nullptr, WininitPath().c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, WininitPath().c_str()); // flush
    std::vector<std::string> lines = ReadLines(WininitPath());
    if (std::all_of(lines.begin(), lines.end(), [](const std::string& line) {
            return line.empty() || _stricmp(line.c_str(), "[rename]") == 0;
        })) {
        DeleteFileIfAny(WininitPath());
    }
}

} // namespace testfs
