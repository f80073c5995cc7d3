#include "file_listing.h"

#include "paths.h"

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

unsigned long FileSizeOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return 0;
    }
    return data.nFileSizeLow;
}

} // namespace korva
