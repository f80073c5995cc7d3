// Writing and deleting only what is what it seems. Under Wine a link to a file looks like an
// ordinary file, and deleting or creating through its name deletes or overwrites the file it
// leads to. So a name is first asked what it is, a file is deleted only through the handle
// that was checked, and a temporary file is always created new, never opened over an entry
// that is already there.
#pragma once

#include "framework/handles.h"

#include <string>

namespace fw {

enum class NameState {
    absent,    // nothing under the name
    plainFile, // an ordinary file at that very place: not a link, a directory or a device
    other,     // a directory, a link, a device, or something the platform cannot tell
};

// What lies under `path`. Where the platform tells no final paths (Windows 95, NT before
// Vista, which have no links to files) an entry that is neither a directory nor a reparse
// point counts as a plain file.
NameState StateOfName(const std::string& path);

enum class DeleteOutcome {
    deleted,
    notPlain, // not a plain file at its place: left as it is
    failed,   // a plain file that could not be deleted; GetLastError() tells why
};

// Deletes `path` when it is a plain file at its place, through the very handle that was
// checked where the platform allows it, and makes sure the name is gone.
DeleteOutcome DeletePlainFile(const std::string& path);

enum class FreshName {
    free,  // nothing under the name (any plain file there was deleted)
    taken, // a directory, a link or a device holds the name
    stuck, // a plain file holds it and cannot be deleted; GetLastError() tells why
};

// Makes room for a new file under `path`: an earlier plain file there is deleted; anything
// else is left alone and reported.
FreshName FreeNameForFreshFile(const std::string& path);

// Creates `path` as a new file (never opening an entry that is already there) with the given
// access and sharing; empty when the file cannot be created (GetLastError() tells why).
UniqueFileHandle CreateFreshFile(const std::string& path, DWORD access, DWORD share);

} // namespace fw
