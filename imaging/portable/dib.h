// The in-memory device-independent bitmap (DIB) every reader produces and every writer takes:
// one block holding a 40-byte info header, the colour table (RGBQUADs) and the pixel rows,
// bottom row first, each padded to a multiple of 4 bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <vector>

namespace korva {

constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kCompressionRgb = 0;
constexpr std::uint32_t kCompressionBitfields = 3;
// Largest block the library allocates: far beyond any picture it shows, and small enough
// that a corrupt header cannot ask for the whole address space.
constexpr std::uint64_t kMaxDibBlockSize = 0x4000000;

struct BitmapInfoHeader {
    std::uint32_t size = kInfoHeaderSize;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = kCompressionRgb;
    std::uint32_t sizeImage = 0;
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t clrUsed = 0;
    std::uint32_t clrImportant = 0;

    static BitmapInfoHeader Parse(const std::uint8_t* bytes);
    void Store(std::uint8_t* bytes) const;
};

struct RgbQuad {
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;
    std::uint8_t reserved = 0;
    bool operator==(const RgbQuad&) const = default;
};

// Derived values of a header, in the wide arithmetic a corrupt header needs.
// Colour count: clrUsed when set, else 2, 16 or 256 for 1, 4 and 8 bits, else 0.
std::int64_t ColourCount(const BitmapInfoHeader& header);
// ((width × bits + 31) / 32) × 4 bytes.
std::int64_t RowSize(const BitmapInfoHeader& header);
// Offset of the pixels from the start of the block: biSize + 4 × colour count.
std::int64_t PixelOffset(const BitmapInfoHeader& header);
// Row size × height + 4 × colour count + 40; not positive when the header cannot describe one.
std::int64_t BlockSize(const BitmapInfoHeader& header);

// A zero-filled block of bytes holding one DIB.
class DibBlock {
public:
    DibBlock() = default;
    // Empty when the size is 0, above `limit`, or the memory is not available.
    static DibBlock Allocate(std::uint64_t size, std::uint64_t limit = kMaxDibBlockSize);

    bool Empty() const { return size_ == 0; }
    std::uint8_t* Data() { return bytes_.get(); }
    const std::uint8_t* Data() const { return bytes_.get(); }
    std::size_t Size() const { return size_; }
    std::span<const std::uint8_t> Bytes() const { return {bytes_.get(), size_}; }

    // The info header; an all-zero one for an empty block.
    BitmapInfoHeader Header() const;
    // The colour table as the header describes it, cut to what the block holds.
    std::vector<RgbQuad> ColourTable() const;
    // Start of the pixel row `row` counted from the bottom of the picture; null outside.
    const std::uint8_t* Row(std::int32_t row) const;
    std::uint8_t* Row(std::int32_t row);
    // Colour of the pixel at x, y counted from the top-left, for 1, 4, 8, 24 and 32 bits.
    RgbQuad Pixel(std::int32_t x, std::int32_t y) const;

private:
    struct FreeBytes {
        void operator()(std::uint8_t* p) const { std::free(p); }
    };
    std::unique_ptr<std::uint8_t, FreeBytes> bytes_;
    std::size_t size_ = 0;
};

// A new DIB with the given geometry and a zeroed colour table and pixels; empty when the
// geometry does not give a block.
DibBlock MakeDib(std::int32_t width, std::int32_t height, std::uint16_t bitCount,
                 std::uint32_t colourCount = 0);

} // namespace korva
