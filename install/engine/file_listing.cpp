#include "install/engine/file_listing.h"

#include "framework/directory_listing.h"
#include "framework/handles.h"
#include "install/shared/portable/paths.h"

#include <windows.h>

namespace korva {

std::vector<std::string> ListFiles(const std::string& pattern) {
    return fw::ListDirectory(pattern, [](const WIN32_FIND_DATAA& entry) {
        return (entry.dwFileAttributes &
                (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
    });
}

std::vector<std::string> ListSubdirectories(const std::string& directory) {
    return fw::ListDirectory(JoinPath(directory, "*.*"), [](const WIN32_FIND_DATAA& entry) {
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
