// One directory listed through the platform: the entries that match a wildcard pattern, by
// name, in the order the platform compares names.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace fw {

// Which entries a listing takes.
using EntryFilter = bool (*)(const WIN32_FIND_DATAA& entry);

// Names of the entries that match `pattern` ("C:\cd\*.bmp") and that `keep` takes, ordered by
// name without regard to case; none when nothing matches or the directory cannot be listed.
std::vector<std::string> ListDirectory(const std::string& pattern, EntryFilter keep);

} // namespace fw
