// What the removal may empty. The removal deletes every ordinary file below the directory
// korva.ini names. Named a drive root, the Windows directory or a folder of the shell (or any
// directory above one of them), that would be the files of the system, of every other program
// and of the user; named another directory than the one the installer wrote into, it would be
// somebody else's. A spelling never tells which directory a path is (a second drive letter, a
// network name, a link lead to the same place), so directories are compared by what the
// platform says they are (removal_facts.h), and the whole tree is judged before a single file
// is deleted.
#pragma once

#include "install/engine/portable/removal_facts.h"

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

// True when any evidence says `a` and `b` are one place: the same volume and file index, or the
// same path. Used where a mistaken "one" only refuses.
bool MaybeSame(const FileIdentity& a, const FileIdentity& b);

// True when every evidence both have says one place, and there is some: the same index where
// both have one, the same path where both have one.
bool SurelySame(const FileIdentity& a, const FileIdentity& b);

enum class RemovalVerdict {
    allowed,
    noDirectory,     // korva.ini names none
    unresolved,      // an unsafe spelling, or no such directory
    relative,        // not an absolute path: it depends on where the program was started
    root,            // a drive or share root
    protectedDir,    // a system or shell folder, or a directory holding one
    insideWindows,   // inside the Windows directory or a system directory
    installerMedium, // the running installer's directory or one above it
    mountPoint,      // a mount point, or a second name of a directory of the tree
    noMarker,        // no "korva.wmf"
    notInstalled,    // not the directory the installer installed into
};

// A directory of the tree that is a link (or junction) leading elsewhere: never entered.
bool IsLinkedDirectory(const TreeDirectory& directory, bool finalPathsKnown);
// A directory of the tree that is a mount point.
bool IsMountPoint(const TreeDirectory& directory, bool finalPathsKnown);

// The verdict on one directory against the guarded folders; `above` are the directories above
// it, nearest first.
RemovalVerdict JudgeGuardedDirectory(const FileIdentity& directory,
                                     const std::vector<FileIdentity>& above,
                                     const GuardedFolders& guarded);

struct RemovalPlan {
    RemovalVerdict verdict = RemovalVerdict::noDirectory;
    std::string directory;          // the directory the verdict is about
    std::vector<std::string> files; // to delete, in order, when allowed
};

// The installation directory judged on its facts, before its tree is walked: the tree of a
// directory that is refused need not be listed at all.
RemovalVerdict JudgeInstallationDirectory(const RemovalFacts& facts);

// The whole removal judged on its facts: the installation directory, then every directory of
// the tree (before a single file is deleted); when allowed, the ordinary files to delete,
// subdirectories before their directory's own files, without the files that are links.
RemovalPlan JudgeRemoval(const RemovalFacts& facts);

// Whether the installer may install into the typed destination: not what a removal would
// refuse to empty (a root, a protected folder or one holding it, anything inside the Windows
// directory, the installer's medium, a mount point).
RemovalVerdict JudgeDestination(const DestinationFacts& destination, const GuardedFolders& guarded);

} // namespace korva
