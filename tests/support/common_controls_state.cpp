#include "common_controls_state.h"

#include "scratch.h"

#include <windows.h>

#include <algorithm>

namespace testfs {

std::string SystemDir() {
    char dir[MAX_PATH] = {};
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
