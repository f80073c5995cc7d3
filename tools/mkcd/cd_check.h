// Checks a disc image of the CD before it is burnt: names that both ISO 9660 (8.3, upper
// case) and Joliet can carry, the files the launcher and the installation read, and every
// size the CD declares against the files it holds.
#pragma once

#include "tools/mkcd/iso_reader.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mkcd {

// One line per fault, empty for a sound disc: "path: what is wrong" for a file or directory,
// the path from the disc's root with a "/" before each name ("/cd_ita/Setup.inf"), which no
// name can hold; a fault of the whole disc (an image that cannot be read, no Joliet names,
// no label) without a path.
std::vector<std::string> CheckImage(const ImageReader& read, std::uint64_t imageSize);

} // namespace mkcd
