#include "framework/mount_table.h"

#include "framework/handles.h"
#include "framework/portable/mount_table_text.h"

#include <windows.h>

namespace fw {

namespace {

// Wine's own translation of a Linux path into the Windows path a handle's final path shows.
using DosNameFunction = WCHAR*(CDECL*)(const char*);

DosNameFunction DosNameService() {
    return reinterpret_cast<DosNameFunction>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_dos_file_name")));
}

std::string WindowsPathOf(DosNameFunction dosName, const std::string& unixPath) {
    WCHAR* wide = dosName(unixPath.c_str());
    if (!wide) {
        return "";
    }
    char narrow[2 * MAX_PATH] = {};
    const int length =
        WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, sizeof narrow, nullptr, nullptr);
    HeapFree(GetProcessHeap(), 0, wide);
    return length > 1 ? std::string(narrow, static_cast<std::size_t>(length - 1)) : "";
}

// The table is a file of the Linux /proc file system: it tells no size and is read until its
// end.
std::string ReadTable(const std::string& path) {
    UniqueFileHandle file(CreateFileA(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string text;
    if (!file) {
        return text;
    }
    constexpr std::size_t kLimit = 16 * 1024 * 1024;
    char chunk[16384];
    DWORD read = 0;
    while (text.size() < kLimit && ReadFile(file.Get(), chunk, sizeof chunk, &read, nullptr) &&
           read > 0) {
        text.append(chunk, read);
    }
    return text;
}

std::string WithoutLongPrefix(std::string path) {
    if (path.rfind("\\\\?\\", 0) == 0 && path.size() >= 6 && path[5] == ':') {
        path.erase(0, 4);
    }
    return path;
}

} // namespace

std::vector<std::string> MountPointsAsWindowsPaths() {
    std::vector<std::string> points;
    DosNameFunction dosName = DosNameService();
    if (!dosName) {
        return points;
    }
    const std::string table = ReadTable(WindowsPathOf(dosName, "/proc/self/mountinfo"));
    for (const std::string& mountPoint : MountPointsOfTable(table)) {
        std::string windowsPath = WithoutLongPrefix(WindowsPathOf(dosName, mountPoint));
        if (!windowsPath.empty()) {
            points.push_back(std::move(windowsPath));
        }
    }
    return points;
}

} // namespace fw
