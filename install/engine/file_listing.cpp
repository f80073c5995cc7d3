#include "install/engine/file_listing.h"

#include "framework/handles.h"
#include "install/shared/portable/paths.h"

#include <windows.h>

#include <algorithm>

namespace korva {

namespace {

template <typename Keep> std::vector<std::string> List(const std::string& pattern, Keep keep) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA(pattern.c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        if (keep(entry)) {
            names.emplace_back(entry.cFileName);
        }
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return lstrcmpiA(a.c_str(), b.c_str()) < 0;
    });
    return names;
}

} // namespace

std::vector<std::string> ListFiles(const std::string& pattern) {
    return List(pattern, [](const WIN32_FIND_DATAA& entry) {
        return (entry.dwFileAttributes &
                (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
    });
}

std::vector<std::string> ListSubdirectories(const std::string& directory) {
    return List(JoinPath(directory, "*.*"), [](const WIN32_FIND_DATAA& entry) {
        std::string name = entry.cFileName;
        return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && name != "." &&
               name != "..";
    });
}

namespace {

using AttributesCall = BOOL(WINAPI*)(LPCSTR, GET_FILEEX_INFO_LEVELS, LPVOID);

// The system's GetFileAttributesExA, or null where it has none (Windows 95). Importing it would
// keep the installer from loading there.
AttributesCall FileAttributesEx() {
    static const AttributesCall call = [] {
        HMODULE kernel = GetModuleHandleA("kernel32.dll");
        return kernel ? reinterpret_cast<AttributesCall>(
                            reinterpret_cast<void*>(GetProcAddress(kernel, "GetFileAttributesExA")))
                      : nullptr;
    }();
    return call;
}

} // namespace

std::optional<unsigned long> FileSizeFromAttributes(const std::string& path) {
    const AttributesCall call = FileAttributesEx();
    if (!call) {
        return std::nullopt;
    }
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!call(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return 0;
    }
    return data.nFileSizeLow;
}

// A name with a wildcard, which no file has, would list other files: it has no size.
unsigned long FileSizeFromDirectoryEntry(const std::string& path) {
    if (path.find_first_of("*?<>\"") != std::string::npos) {
        return 0;
    }
    WIN32_FIND_DATAA entry;
    const fw::UniqueFind find(FindFirstFileA(path.c_str(), &entry));
    if (!find || (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return 0;
    }
    return entry.nFileSizeLow;
}

// The attribute call is the quick one (a listing costs Wine a directory search per file); the
// directory entry is what Windows 95 has.
unsigned long FileSizeOf(const std::string& path) {
    const std::optional<unsigned long> size = FileSizeFromAttributes(path);
    return size ? *size : FileSizeFromDirectoryEntry(path);
}

} // namespace korva
