// Bitmap files: the Windows format ('B','M') and the two variants of the system's own, 'R','M'
// (reordered 40-byte header, optionally run-length coded) and 'P','M' (reordered 28-byte
// header, always coded). All are read into and written from the packed DIB layout.
#pragma once

#include "framework/portable/byte_stream.h"
#include "imaging/portable/dib.h"
#include "imaging/portable/image_error.h"

#include <cstdint>
#include <span>

namespace korva {

constexpr std::uint16_t kSignatureWindows = 0x4D42;  // 'B','M'
constexpr std::uint16_t kSignatureVariantR = 0x4D52; // 'R','M'
constexpr std::uint16_t kSignatureVariantP = 0x4D50; // 'P','M'
constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kVariantPHeaderSize = 28;

// Kinds of file the writers make.
enum BitmapKind : int {
    kKindWindows = 0,
    kKindVariantR = 1,
    kKindVariantRCoded = 2,
    kKindVariantP = 3,
};

// What the reader found out about a file, for tools that describe it.
struct BitmapFileInfo {
    std::uint16_t signature = 0;
    bool coded = false;
    bool topDown = false;
    std::uint32_t fileHeaderSize = 0; // the info header's own biSize
    std::uint16_t fileBitCount = 0;   // depth as stored (bit fields are read as 24 bits)
};

// Reads one bitmap file of the three kinds from the start of `source`. `fileLength` 0 takes
// the length from the source. Sets `error` and returns an empty block on failure; a block
// above `memoryLimit` counts as memory not available.
DibBlock ReadDibFile(ByteSource& source, std::uint64_t fileLength, ImageError& error,
                     BitmapFileInfo* info = nullptr, std::uint64_t memoryLimit = kMaxDibBlockSize);

// Writes `dib` as a file of the given kind. Returns the DIB block size + 14, or 0: with code
// kImageWriteError (text unchanged) when the file cannot be written, nothing for an empty DIB.
std::uint64_t WriteDibFile(ByteSink& sink, const DibBlock& dib, int kind, ImageError& error);

// Writes an 8-bit `dib` reduced to the 16 colours of `palette`, 4 bits per pixel. Returns the
// file size, or 0 with code kImageWriteError (also for a source that is not 8 bits per pixel).
std::uint64_t WriteDib16File(ByteSink& sink, const DibBlock& dib, int kind,
                             std::span<const RgbQuad, 16> palette, ImageError& error);

// The reordered headers of the variants, from and to the standard info header.
BitmapInfoHeader ParseVariantRHeader(const std::uint8_t* bytes, bool* coded);
void StoreVariantRHeader(const BitmapInfoHeader& header, bool coded, std::uint8_t* bytes);
BitmapInfoHeader ParseVariantPHeader(const std::uint8_t* bytes);
void StoreVariantPHeader(const BitmapInfoHeader& header, std::uint8_t* bytes);

} // namespace korva
