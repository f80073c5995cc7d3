// Which directory the removal may empty. The removal deletes every ordinary file below the
// directory korva.ini names; named a drive root or a directory holding Windows (the product
// installed at "C:\", say), that would be the files of the system and of every other
// program, so such a directory never counts as an installation.
#pragma once

#include <string_view>

namespace korva {

// False for an empty path, a drive root ("C:", "C:\"), a share root ("\\server\share") and
// the Windows directory or any directory above it; true otherwise.
bool MayRemoveFrom(std::string_view installDir, std::string_view windowsDir);

} // namespace korva
