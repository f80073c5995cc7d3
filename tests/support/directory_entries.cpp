#include "tests/support/directory_entries.h"

#include "framework/handles.h"

#include <algorithm>
#include <cstring>

namespace testfs {

std::vector<WIN32_FIND_DATAA> FindEntries(const std::string& pattern) {
    std::vector<WIN32_FIND_DATAA> entries;
    WIN32_FIND_DATAA entry;
    const fw::UniqueFind find(FindFirstFileA(pattern.c_str(), &entry));
    if (!find) {
        return entries;
    }
    do {
        if (std::strcmp(entry.cFileName, ".") != 0 && std::strcmp(entry.cFileName, "..") != 0) {
            entries.push_back(entry);
        }
    } while (FindNextFileA(find.Get(), &entry));
    return entries;
}

std::vector<WIN32_FIND_DATAA> DirectoryEntries(const std::string& dir) {
    return FindEntries(dir + "\\*");
}

namespace {

std::vector<std::string> SortedNames(const std::vector<WIN32_FIND_DATAA>& entries,
                                     bool directories) {
    std::vector<std::string> names;
    for (const WIN32_FIND_DATAA& entry : entries) {
        if (((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) == directories) {
            names.emplace_back(entry.cFileName);
        }
    }
    SortWithoutCase(names);
    return names;
}

} // namespace

std::vector<std::string> FileNames(const std::string& pattern) {
    return SortedNames(FindEntries(pattern), false);
}

std::vector<std::string> SubdirectoryNames(const std::string& dir) {
    return SortedNames(DirectoryEntries(dir), true);
}

void SortWithoutCase(std::vector<std::string>& names) {
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return lstrcmpiA(a.c_str(), b.c_str()) < 0;
    });
}

} // namespace testfs
