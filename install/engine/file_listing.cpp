#include "file_listing.h"

#include "handles.h"
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

// The directory entry gives the size without opening the file, on every system (the attribute
// call that does the same came with Windows 98 and NT 4.0). A name with a wildcard, which no
// file has, would list other files: it has no size.
unsigned long FileSizeOf(const std::string& path) {
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

} // namespace korva
