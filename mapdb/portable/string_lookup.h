// Texts of the installer's string table as the database layer sees them. The layer is built
// for the installer and natively for tests and tools, so it asks a lookup for its texts
// instead of the platform's resource loader.
#pragma once

#include <string>

namespace korva {

// Returns the string-table entry `number` (Windows-1252 text), empty when there is none.
using StringLookup = std::string (*)(unsigned number);

// The build's own texts: the running program's string table on Windows, the same texts
// built in on other hosts.
std::string DefaultStringLookup(unsigned number);

// Replaces the lookup used by LoadResString; returns the one in use before. nullptr restores
// the default.
StringLookup SetStringLookup(StringLookup lookup);

// A new text holding the string-table entry `number`; empty when there is none.
std::string LoadResString(unsigned number);

} // namespace korva
