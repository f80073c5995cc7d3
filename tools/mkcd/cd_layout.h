// The contents of the sample CD: the launcher files, the program files, and one data
// directory per edition with its setup description and map areas.
#pragma once

#include <filesystem>

namespace mkcd {

// Extra tiles for the bitmap tree of the first area, to make a large CD.
struct BitmapTreeBulk {
    unsigned long megabytes = 0;
    unsigned long files = 0;
};

// Writes everything but the built programs, which the caller has placed already.
void WriteCdContents(const std::filesystem::path& cd, const BitmapTreeBulk& bulk = {});

} // namespace mkcd
