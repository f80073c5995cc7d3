// The LZW of TIFF strips (compression 5): codes taken most significant bit first, 256 clears
// the table, 257 ends the strip, the width grows one code early, up to 12 bits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace korva {

// Decodes `coded` into `output`; returns the bytes decoded (at most output.size()). Bad codes
// end the strip there. The output after the bytes decoded may have been written over.
std::size_t DecodeTiffLzw(std::span<const std::uint8_t> coded, std::span<std::uint8_t> output);

} // namespace korva
