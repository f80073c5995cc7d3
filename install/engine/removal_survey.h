// Gathers, once and without deleting anything, what the platform says about everything a
// removal would touch (removal_facts.h): korva.ini's directories, the guarded folders, and the
// whole tree the removal would walk, listed the way the removal lists it.
#pragma once

#include "install/engine/portable/removal_facts.h"

#include <windows.h>

#include <string>

namespace korva {

// The facts of the removal that korva.ini of `windowsDir` asks for. `listBox` is the listing
// control to use; null to make one (the facts then hold no tree when it cannot be made).
RemovalFacts GatherRemovalFacts(const std::string& windowsDir, HWND listBox = nullptr);

// The facts of a destination typed at the installer's prompt (an absolute path).
DestinationFacts GatherDestinationFacts(const std::string& typed);

} // namespace korva
