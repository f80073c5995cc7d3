// The folders no removal may empty and no installation may go into, asked of the platform:
// the Windows and system directories (the 64-bit ones as well, for a 32-bit program on 64-bit
// Windows), the shell's folders, the running installer's directory and the drive roots.
#pragma once

#include "install/engine/portable/removal_facts.h"

#include <string>

namespace korva {

// `windowsDir`: the Windows directory the installer works with (korva.ini lives there).
GuardedFolders GatherGuardedFolders(const std::string& windowsDir);

} // namespace korva
