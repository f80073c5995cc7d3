// The CD tree as a disc image: ISO 9660 with Joliet names, the same bytes from the same tree.
#pragma once

#include <filesystem>

namespace mkcd {

// The disc's label, the edition's name, as a system with Joliet shows it; and the plain
// ISO 9660 volume identifier a system without Joliet shows: the same label with each
// character other than upper-case letters, digits and "_" written as "_".
inline constexpr const char* kVolumeLabel = "KORVA '98 3.04";
inline constexpr const char* kPlainVolumeId = "KORVA__98_3_04";

// Writes the image of `tree` to `iso`: ISO 9660 level 1 names (8.3, upper case) readable
// without Joliet, the names as they are in the Joliet tree, and Rock Ridge attributes that
// show every file read-only, as a pressed disc is. Times, owners, modes and identifiers are
// fixed, so the image depends only on the names and contents of the files. The image is
// written beside `iso` first and takes its name only when complete. Throws
// std::runtime_error with the reason when it cannot be written, and for a tree that no disc
// can carry as it is: a link or a special file, or directories deeper than ISO 9660 allows.
void WriteImage(const std::filesystem::path& tree, const std::filesystem::path& iso);

} // namespace mkcd
