// The directory a removal may empty, as the platform resolves it. korva.ini names it twice:
// "INFO"/"KorvaDir", written by the map program, and "Installazione"/"Directory_di_KORVA",
// written by the installer. Both are resolved by the platform (full path, long names, every
// level an ordinary directory, not a link) and the result is judged against the system's
// and the shell's folders before a single file is deleted.
#pragma once

#include <string>
#include <vector>

namespace korva {

// The platform's full path of `path` with every level in its long form, or "" when the
// spelling is unsafe, a level does not exist, is not a directory, or is a link or reparse
// point (a junction, or a symbolic link under Wine), or the result does not fit a path field.
std::string ResolveDirectory(const std::string& path);

// `name` of the resolved directory `resolvedDir` with its long name, when the platform reads
// it as an entry of that directory and it is a directory (`directory`) or not, and not a link
// or reparse point; "" otherwise.
std::string ResolveEntryIn(const std::string& resolvedDir, const std::string& name, bool directory);

// The directories no removal may empty or hold: `windowsDir`, the platform's Windows and
// system directories and the shell's folders (program files, profiles, user and all-users
// folders), each resolved where it exists and in its full-path spelling otherwise.
std::vector<std::string> ProtectedDirectories(const std::string& windowsDir);

// The resolved installation directory that korva.ini of `windowsDir` names, or "" when none
// may be emptied: no "KorvaDir", an unsafe or unresolvable one, a root, a protected folder or
// one holding it, or not the directory "Directory_di_KORVA" names.
std::string RemovableInstallDirectory(const std::string& windowsDir);

} // namespace korva
