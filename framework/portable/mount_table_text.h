// The mount points listed in a Linux mount table ("/proc/self/mountinfo"). Under Wine a
// mounted directory, a bind mount above all, looks like any other directory to the Windows
// functions; the system's own table is what tells it apart.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace fw {

// The mount point of every line of the table's text, with the table's octal escapes
// ("\040" for a blank) undone. Lines without one are passed over.
std::vector<std::string> MountPointsOfTable(std::string_view table);

} // namespace fw
