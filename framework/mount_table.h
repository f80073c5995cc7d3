// The mount points of the system under Wine, as Windows paths. A directory on which another
// file system or a directory (a bind mount) is mounted shows to the Windows functions as a
// plain directory; the Linux mount table is what tells it apart.
#pragma once

#include <string>
#include <vector>

namespace fw {

// The Windows path of every mount point of the Linux mount table, in the spelling of the
// platform's final paths ("C:\dir"); empty outside Wine or when the table cannot be read.
std::vector<std::string> MountPointsAsWindowsPaths();

} // namespace fw
