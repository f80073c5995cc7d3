// The restart instruction of the Windows 95 family: a line of section "rename" of
// "wininit.ini" that puts one file in place of another at the next start. The profile service
// keeps its own copy of the file and reports a write as done even when the disk refused it, so
// the line is read back from the disk before anyone is told that the restart will do it.
#pragma once

#include <string>

namespace fw {

// Adds `target`=`replacement` to section "rename" of `wininitPath` and reads the file back:
// true only when the line is on the disk. A "wininit.ini" that is not a plain file (a link,
// a directory) is not written through.
bool WriteRestartRename(const std::string& wininitPath, const std::string& target,
                        const std::string& replacement);

// The directory in which the restart must find a file of this program's system directory. The
// restart sees the system as the system itself does: under WoW64 that is the 64-bit system,
// whose "system32" is not the directory this 32-bit program is shown under that name, so the
// 32-bit system directory is named as the 64-bit side knows it ("SysWOW64").
std::string SystemDirectoryForRestart();

} // namespace fw
