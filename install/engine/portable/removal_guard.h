// Which directory the removal may empty. The removal deletes every ordinary file below the
// directory korva.ini names. Named a drive root, the Windows directory or a folder of the
// shell (or any directory above one of them), that would be the files of the system, of
// every other program and of the user; named another directory than the one the installer
// wrote into, it would be somebody else's. So the name is first checked for spellings that
// the platform reads in surprising ways, then resolved by the platform, and only the resolved
// directory is judged and emptied.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korva {

// Spellings refused before the platform sees them: empty or longer than a path field, device
// and long-path prefixes ("\\?\", "\\.\", "\??\"), characters that no directory name holds
// (wildcards, quotes, '<', '>', '|', control characters), a colon other than the drive's
// (streams), names the platform opens as devices ("con", "nul", "aux", "com1", ...), and
// names ending in a dot or a blank, which the platform drops in some places and not in others.
bool HasUnsafeSpelling(std::string_view path);

// The one spelling of an absolute path that the judgement below compares: backslashes, no
// repeated separators, "." and ".." resolved (never above the root), no trailing backslash
// but the root's, the drive letter upper-case. "" for a path that is not absolute ("C:x",
// "\x", "x"): the platform must have resolved it first.
std::string CanonicalPath(std::string_view path);

// "X:\" or "\\server\share" (canonical form).
bool IsRootPath(std::string_view canonical);

// True when `path` is `directory` or lies below it; both canonical, compared without regard
// to case (Windows-1252 letters).
bool IsSameOrInside(std::string_view path, std::string_view directory);

enum class RemovalVerdict {
    allowed,
    unresolved,   // no resolved directory
    root,         // a drive or share root
    protectedDir, // a system or shell folder, or a directory holding one
    notInstalled, // not the directory the installer installed into
};

// Judges the resolved installation directory against the resolved protected directories and
// the resolved directory the installer recorded as its own.
RemovalVerdict JudgeRemovalDirectory(std::string_view resolvedDir,
                                     const std::vector<std::string>& protectedDirs,
                                     std::string_view resolvedInstalledDir);

} // namespace korva
