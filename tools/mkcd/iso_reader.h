// Reader of ISO 9660 disc images: the volume descriptors and the two directory trees a disc
// may carry, the plain ISO 9660 one and the Joliet one, as they are recorded. Written to
// check images made by any tool, so every field is checked against the image before use.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace mkcd {

// Reads `size` bytes at `offset` of the image into `out`; false when the image is shorter
// or cannot be read.
using ImageReader = std::function<bool(std::uint64_t offset, std::size_t size, unsigned char* out)>;

struct IsoEntry {
    std::string name; // as recorded ("SETVARS.INF;1"); Joliet names in UTF-8
    bool directory = false;
    std::uint32_t extent = 0; // first block of the data
    std::uint32_t size = 0;   // bytes
    std::vector<IsoEntry> children;
};

struct IsoVolume {
    std::uint64_t blocks = 0;  // volume space size, in blocks of 2048 bytes
    std::string plainVolumeId; // trailing blanks removed
    IsoEntry plainRoot;
    bool hasJoliet = false;
    std::string jolietVolumeId;
    IsoEntry jolietRoot;
};

inline constexpr std::size_t kIsoBlock = 2048;

// Reads the volume descriptors and both trees of an image of `imageSize` bytes. On a
// malformed image returns nothing and says why in `error`.
std::optional<IsoVolume> ReadIsoVolume(const ImageReader& read, std::uint64_t imageSize,
                                       std::string& error);

// The contents of a file entry of that volume; nothing when they cannot be read.
std::optional<std::string> ReadIsoFile(const ImageReader& read, const IsoEntry& file);

} // namespace mkcd
