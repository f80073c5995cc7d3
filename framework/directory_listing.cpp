#include "framework/directory_listing.h"

#include "framework/handles.h"

#include <algorithm>

namespace fw {

std::vector<std::string> ListDirectory(const std::string& pattern, EntryFilter keep) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    const UniqueFind find(FindFirstFileA(pattern.c_str(), &entry));
    if (!find) {
        return names;
    }
    do {
        if (keep(entry)) {
            names.emplace_back(entry.cFileName);
        }
    } while (FindNextFileA(find.Get(), &entry));
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return lstrcmpiA(a.c_str(), b.c_str()) < 0;
    });
    return names;
}

} // namespace fw
