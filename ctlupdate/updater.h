// The steps of the common-controls update: probe the platform's library, write the carried
// compressed file to the system directory, expand it with the platform's version installer,
// and schedule the replacement at the next restart.
#pragma once

#include <windows.h>

#include <string>

namespace korva {

// File names in the system directory.
constexpr const char* kCompressedName = "comctl32.tm_";
constexpr const char* kExpandedName = "comctl32.tmp";
constexpr const char* kLibraryName = "comctl32.dll";

// Non-zero when "COMCTL32.DLL" exports "DllGetVersion" or cannot be loaded at all; 0 when it
// is too old and must be replaced.
int IsLibraryCurrent();

// Writes `data` in one call into `path`, created new: an earlier plain file under the name is
// deleted first, and anything else there (a link, a directory) makes the call fail. 1 when
// every byte was written; a file that could not be written whole is deleted again.
int WriteCarriedFile(const std::string& path, const void* data, DWORD length);

// Expands (force-install) `sourceName` of `sourceDir` into `destName` of `destDir` with the
// platform's version installer: 0 when any failure bit of its result is set (the temporary
// copy of a failed attempt is deleted), 1 when the file was put in place.
int ExpandCarriedFile(const std::string& sourceDir, const std::string& sourceName,
                      const std::string& destDir, const std::string& destName);

// Writes and expands the carried library in the system directory and, once the expanded file
// is checked to be the carried library byte for byte, adds the rename line to "wininit.ini"
// and reads it back: 1 when the replacement is scheduled, 0 when nothing was scheduled (the
// files written by the attempt are deleted again). Entries under the temporary names that are
// not plain files are never written or deleted through.
int UpdateLibrary();

} // namespace korva
