// What the platform says a file or directory is, asked through an open handle: its volume and
// file index, and its final path (where its name leads once every link, drive alias and
// network name is resolved). A spelling never tells whether two names are one place; these
// facts do. Windows 95 opens no directory as a handle, and systems before Vista tell no final
// path: what the platform cannot say is left unknown, never guessed.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace fw {

struct HandleFacts {
    bool opened = false;
    DWORD attributes = 0; // of what the name leads to (a link's target)
    std::uint32_t volume = 0;
    std::uint64_t index = 0;
    // "C:\dir\name" or "\\server\share\name", in the platform's spelling; "" when the platform
    // cannot tell.
    std::string finalPath;
};

// Opens `path`, a file or a directory, asking for no access (so that no other program's
// sharing stands in the way), and reads its facts. `opened` is false when it cannot be opened.
HandleFacts FactsOf(const std::string& path);

// The facts of an open handle.
HandleFacts FactsOfHandle(HANDLE file);

// Whether this system tells the final path of a handle (Vista and later, and Wine).
bool TellsFinalPaths();

// The full path of `path` with every level in its long form where the platform can give it;
// links are not resolved. "" when the path has no full form shorter than MAX_PATH.
std::string LongFullPathOf(const std::string& path);

// True when the final path of `facts` names `path` itself: it is not reached through a link,
// a second drive letter or another name. False when the final path is not known.
bool FinalPathIs(const HandleFacts& facts, const std::string& path);

} // namespace fw
