// The contents of the sample CD: the launcher files, the program files, and one data
// directory per edition with its setup description and map areas.
#pragma once

#include <filesystem>

namespace mkcd {

// Writes everything but the built programs, which the caller has placed already.
void WriteCdContents(const std::filesystem::path& cd);

} // namespace mkcd
