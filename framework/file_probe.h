// Whether a file can be opened for reading: how the programs test for a file on the CD; and
// the platform's full form of a path.
#pragma once

#include <string>

namespace fw {

bool CanOpenForReading(const std::string& path);

// The platform's full path of `path` (a relative path taken from the current directory), or
// an empty text when it has none shorter than MAX_PATH.
std::string FullPathOf(const std::string& path);

} // namespace fw
