// The platform's version installation as the programs use it: forced into a destination
// directory, its failures told apart from its informational flags, and the temporary copy of a
// failed attempt cleared away.
#pragma once

#include <windows.h>
#include <winver.h>

#include <string>

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

// Whether `name` is one the platform gives its temporary copies: "ver<hex>.tmp".
bool IsTemporaryName(const std::string& name);

// Deletes, directly in the directory `fullDir` (a full path), the platform's temporary copies
// that an installation stopped part way left behind: files named like them, last written
// before `before`, that are plain files (never directories or links) and that nobody holds
// open. Returns how many were deleted.
int RemoveStaleVersionInstallFiles(const std::string& fullDir, const FILETIME& before);

// Installs <sourceDir>\<sourceName> as <destDir>\<destName> with VIFF_FORCEINSTALL (an SZDD
// source is expanded) and returns the platform's result. After a failure the "ver*.tmp" files
// the attempt left in the destination directory are deleted: the one the platform names and
// any that appeared during the call; files that were there before are never touched.
DWORD ForceVersionInstall(const std::string& sourceDir, const std::string& sourceName,
                          const std::string& destDir, const std::string& destName);

} // namespace fw
