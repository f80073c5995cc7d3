// The prefix's common-controls library and what an update of it leaves behind: copies in the
// system directory and a line in the restart rename list "wininit.ini". A line left behind
// would replace the prefix's own library at the next start of the wineserver.
#pragma once

#include <string>
#include <vector>

namespace testfs {

// True when this (32-bit) test program runs under WoW64: in the 64-bit prefix.
bool RunsUnderWow64();
// The system directory by the name the restart knows it: under WoW64 (the 64-bit prefix) the
// 32-bit system directory is "SysWOW64" to the 64-bit restart, not "system32".
std::string SystemDir();
std::string WininitPath();
std::string LibraryPath(); // <system>\comctl32.dll

// Removes the given copies of the library (a file or a directory put in their way) and the
// library's rename line, and "wininit.ini" with it when nothing else is in it.
void CleanCommonControls(const std::vector<std::string>& copies);

} // namespace testfs
