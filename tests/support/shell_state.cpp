#include "tests/support/shell_state.h"

#include "robot.h"
#include "scratch.h"
#include "tests/support/directory_entries.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace e2e {

std::string GroupFolder() {
    char programs[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs);
    return std::string(programs) + "\\KORVA";
}

std::vector<std::string> GroupItems() {
    std::vector<std::string> items;
    const std::string folder = GroupFolder();
    if (testfs::Exists(folder)) {
        items = testfs::ListTree(folder);
    }
    return items;
}

std::string ItemTarget(const std::string& itemName) {
    const std::string link = GroupFolder() + "\\" + itemName;
    std::string target;
    const bool initialised = SUCCEEDED(CoInitialize(nullptr));
    IShellLinkA* shellLink = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&shellLink)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(
                shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            wchar_t wide[MAX_PATH] = {};
            MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH);
            char path[MAX_PATH] = {};
            if (SUCCEEDED(file->Load(wide, STGM_READ)) &&
                SUCCEEDED(shellLink->GetPath(path, MAX_PATH, nullptr, 0))) {
                target = path;
            }
            file->Release();
        }
        shellLink->Release();
    }
    if (initialised) {
        CoUninitialize();
    }
    return target;
}

namespace {
robot::WindowQuery FolderWindows() {
    robot::WindowQuery query;
    query.className = "ExplorerWClass";
    return query;
}
} // namespace

bool WaitForFolderWindow(unsigned timeoutMs) {
    return robot::WaitUntil([] { return !robot::FindWindows(FolderWindows()).empty(); }, timeoutMs);
}

void CloseFolderWindows() {
    const robot::WindowQuery query = FolderWindows();
    for (HWND window : robot::FindWindows(query)) {
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
    robot::WaitUntil([&] { return robot::FindWindows(query).empty(); }, 5000);
}

void RemoveGroup() {
    CloseFolderWindows();
    testfs::RemoveTree(GroupFolder());
}

std::string TemporaryPath() {
    return SystemDir() + "\\comctl32.tm2";
}

std::vector<std::string> VersionTemporaries() {
    return testfs::FileNames(SystemDir() + "\\ver*.tmp");
}

std::vector<std::string> RenameLines() {
    std::vector<std::string> lines;
    bool inRename = false;
    for (const std::string& line : testfs::ReadLines(WininitPath())) {
        if (!line.empty() && line[0] == '[') {
            inRename = _stricmp(line.c_str(), "[rename]") == 0;
        } else if (inRename && !line.empty()) {
            lines.push_back(line);
        }
    }
    return lines;
}

void CleanCommonControls() {
    testfs::CleanCommonControls({TemporaryPath()});
}

} // namespace e2e
