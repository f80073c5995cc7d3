// Creating an installation's directories one level at a time, from the root down.
#pragma once

#include <string>

namespace korva {

// Makes `path` exist, creating each missing level from the root down; an existing directory
// is not an error. A level that cannot be created is named in the destination message:
// Abort returns false, Retry tries again, Ignore returns true and leaves it missing.
bool EnsureDirectory(const std::string& path);

} // namespace korva
