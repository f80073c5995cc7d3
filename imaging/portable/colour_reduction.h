// Reduction of an 8-bit picture to 16 colours: every source colour goes to the nearest of
// the 16 by the sum of the absolute differences of red, green and blue.
#pragma once

#include "imaging/portable/dib.h"

#include <cstdint>
#include <span>
#include <vector>

namespace korva {

// Index of the colour of `palette` nearest to `colour`; on equal distances the lower index.
int NearestColourIndex(const RgbQuad& colour, std::span<const RgbQuad> palette);

// The pixels of an 8-bit DIB as 4-bit rows (bottom row first, two pixels a byte, the left
// one in the high nibble, rows padded to 4 bytes). Each source colour index is mapped once.
std::vector<std::uint8_t> ReduceTo16Colours(const DibBlock& dib8,
                                            std::span<const RgbQuad, 16> palette);

} // namespace korva
