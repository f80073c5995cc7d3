// The platform's version installation as the programs use it: forced into a destination
// directory, its failures told apart from its informational flags, and the temporary copy of a
// failed attempt cleared away.
#pragma once

#include <windows.h>
#include <winver.h>

#include <string>
#include <vector>

namespace fw {

// Every result bit that means the file was not put in place under its name. The platform sets
// VIF_TEMPFILE only when its temporary copy stayed behind, with the cause in other bits. The
// informational bits (version mismatch, older source, other language) are not failures when
// the installation is forced.
constexpr DWORD kVersionInstallFailures =
    VIF_TEMPFILE | VIF_WRITEPROT | VIF_FILEINUSE | VIF_OUTOFSPACE | VIF_ACCESSVIOLATION |
    VIF_SHARINGVIOLATION | VIF_CANNOTCREATE | VIF_CANNOTDELETE | VIF_CANNOTRENAME |
    VIF_CANNOTDELETECUR | VIF_OUTOFMEMORY | VIF_CANNOTREADSRC | VIF_CANNOTREADDST |
    VIF_BUFFTOOSMALL;

constexpr bool VersionInstallFailed(DWORD result) {
    return (result & kVersionInstallFailures) != 0;
}

// Whether `name` is one the platform gives its temporary copies: "ver", one to four hex
// digits, ".tmp" ("ver1a2b.tmp"; "verbale.tmp" is not).
bool IsTemporaryName(const std::string& name);

// The names, directly in the directory `fullDir` (a full path), of what may be the platform's
// temporary copies left by an installation stopped part way: files named like them, last
// written before `before`, that are plain files (never directories or links) and that nobody
// holds open. Whose copies they are is for the caller to tell.
std::vector<std::string> StaleTemporaryFiles(const std::string& fullDir, const FILETIME& before);

// The platform's temporary copies directly in `dir` now: plain files named like them.
std::vector<std::string> ListTemporaryFiles(const std::string& dir);

// Installs <sourceDir>\<sourceName> as <destDir>\<destName> with VIFF_FORCEINSTALL (an SZDD
// source is expanded) and returns the platform's result. After a failure the "ver*.tmp" files
// the attempt left in the destination directory are deleted: the one the platform names and
// any other that is not among `earlierTemporaryFiles`, which are never touched. A directory
// that receives many files is listed once, before the first: listing it before every file
// would cost a scan of the whole directory per file.
DWORD ForceVersionInstall(const std::string& sourceDir, const std::string& sourceName,
                          const std::string& destDir, const std::string& destName,
                          const std::vector<std::string>& earlierTemporaryFiles);

// The same for a single file: the destination's temporary copies are listed just before.
DWORD ForceVersionInstall(const std::string& sourceDir, const std::string& sourceName,
                          const std::string& destDir, const std::string& destName);

} // namespace fw
