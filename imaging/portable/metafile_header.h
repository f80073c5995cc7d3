// Where a Windows metafile's 18-byte header lies: at the start of a plain file, or after the
// placeable header of a file that begins with the placeable key.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace korva {

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::uint32_t kMetaHeaderSize = 18;
// The published placeable header is 22 bytes long; the system's own placeable files put the
// metafile header at byte 32. Both are read.
constexpr std::uint32_t kPlaceableHeaderOffsets[] = {22, 32};

struct MetafileLayout {
    bool placeable = false;
    std::uint32_t headerOffset = 0; // where the metafile header (and the metafile bits) start
    std::uint32_t sizeInWords = 0;  // the header's size field: the metafile's 16-bit words
};

// True for a plausible metafile header: type 1 or 2, a header of 9 words, version 1 or 3.
bool IsMetaHeader(std::span<const std::uint8_t> bytes);

// The layout of a file that begins with `start` (its first bytes, at least 50 when the file
// has them). Nothing when the file is too short or a placeable file has no valid header at
// either offset. A plain file's header is taken as it is: the platform checks it when loading.
std::optional<MetafileLayout> LocateMetafileHeader(std::span<const std::uint8_t> start);

} // namespace korva
