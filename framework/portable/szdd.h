// The platform's SZDD compressed-file format: a 14-byte header ("SZDD" 88 F0 27 33, method 'A',
// the missing last character of the file name, the expanded length) followed by LZSS data in
// a 4096-byte window that starts filled with blanks, writing from position 4096 - 16.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace korva {

constexpr std::size_t kSzddHeaderSize = 14;

// Compresses `data`; `missingChar` is the last character of the expanded file's name (the
// compressed name ends in '_' in its place), 0 when unknown.
std::vector<std::uint8_t> CompressSzdd(std::span<const std::uint8_t> data, char missingChar = 0);

struct SzddExpansion {
    bool ok = false;
    std::string error; // why the stream was refused
    char missingChar = 0;
    std::vector<std::uint8_t> data;
};

// True when `stream` begins with the 8-byte SZDD signature: what the platform's expander looks
// for before it expands a file instead of copying it.
bool IsSzddStream(std::span<const std::uint8_t> stream);

// Expands an SZDD stream. Refused: a bad header, or data that ends before the length the
// header declares. Data beyond that length is ignored.
SzddExpansion ExpandSzdd(std::span<const std::uint8_t> stream);

} // namespace korva
