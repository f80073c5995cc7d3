#include "imaging/portable/dib.h"

#include "framework/portable/byte_stream.h"

namespace korva {

BitmapInfoHeader BitmapInfoHeader::Parse(const std::uint8_t* p) {
    BitmapInfoHeader h;
    h.size = GetLe32(p);
    h.width = static_cast<std::int32_t>(GetLe32(p + 4));
    h.height = static_cast<std::int32_t>(GetLe32(p + 8));
    h.planes = GetLe16(p + 12);
    h.bitCount = GetLe16(p + 14);
    h.compression = GetLe32(p + 16);
    h.sizeImage = GetLe32(p + 20);
    h.xPelsPerMeter = static_cast<std::int32_t>(GetLe32(p + 24));
    h.yPelsPerMeter = static_cast<std::int32_t>(GetLe32(p + 28));
    h.clrUsed = GetLe32(p + 32);
    h.clrImportant = GetLe32(p + 36);
    return h;
}

void BitmapInfoHeader::Store(std::uint8_t* p) const {
    PutLe32(p, size);
    PutLe32(p + 4, static_cast<std::uint32_t>(width));
    PutLe32(p + 8, static_cast<std::uint32_t>(height));
    PutLe16(p + 12, planes);
    PutLe16(p + 14, bitCount);
    PutLe32(p + 16, compression);
    PutLe32(p + 20, sizeImage);
    PutLe32(p + 24, static_cast<std::uint32_t>(xPelsPerMeter));
    PutLe32(p + 28, static_cast<std::uint32_t>(yPelsPerMeter));
    PutLe32(p + 32, clrUsed);
    PutLe32(p + 36, clrImportant);
}

std::int64_t ColourCount(const BitmapInfoHeader& header) {
    if (header.clrUsed != 0) {
        return header.clrUsed;
    }
    switch (header.bitCount) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

std::int64_t RowSize(const BitmapInfoHeader& header) {
    return ((static_cast<std::int64_t>(header.width) * header.bitCount + 31) / 32) * 4;
}

std::int64_t PixelOffset(const BitmapInfoHeader& header) {
    return static_cast<std::int64_t>(header.size) + 4 * ColourCount(header);
}

std::int64_t BlockSize(const BitmapInfoHeader& header) {
    std::int64_t rowSize = RowSize(header);
    if (rowSize < 0 || header.height < 0) {
        return -1;
    }
    // Anything beyond the allocation limit is refused there; keep the product from overflowing.
    constexpr auto kTooBig = static_cast<std::int64_t>(kMaxDibBlockSize) + 1;
    if (rowSize > 0 && header.height > kTooBig / rowSize) {
        return kTooBig;
    }
    return rowSize * header.height + 4 * ColourCount(header) + kInfoHeaderSize;
}

DibBlock DibBlock::Allocate(std::uint64_t size, std::uint64_t limit) {
    DibBlock block;
    if (size == 0 || size > limit || size > kMaxDibBlockSize) {
        return block;
    }
    auto* bytes = static_cast<std::uint8_t*>(std::calloc(static_cast<std::size_t>(size), 1));
    if (bytes) {
        block.bytes_.reset(bytes);
        block.size_ = static_cast<std::size_t>(size);
    }
    return block;
}

BitmapInfoHeader DibBlock::Header() const {
    if (size_ < kInfoHeaderSize) {
        BitmapInfoHeader none;
        none.size = 0;
        none.planes = 0;
        return none;
    }
    return BitmapInfoHeader::Parse(bytes_.get());
}

std::vector<RgbQuad> DibBlock::ColourTable() const {
    std::vector<RgbQuad> table;
    if (size_ < kInfoHeaderSize) {
        return table;
    }
    BitmapInfoHeader header = Header();
    std::int64_t count = ColourCount(header);
    std::uint64_t start = header.size;
    for (std::int64_t i = 0; i < count && start + 4 * (i + 1) <= size_; ++i) {
        const std::uint8_t* q = bytes_.get() + start + 4 * i;
        table.push_back({q[0], q[1], q[2], q[3]});
    }
    return table;
}

const std::uint8_t* DibBlock::Row(std::int32_t row) const {
    if (size_ < kInfoHeaderSize) {
        return nullptr;
    }
    BitmapInfoHeader header = Header();
    std::int64_t rowSize = RowSize(header);
    std::int64_t offset = PixelOffset(header) + rowSize * row;
    if (row < 0 || row >= header.height || rowSize <= 0 || offset < 0 ||
        offset + rowSize > static_cast<std::int64_t>(size_)) {
        return nullptr;
    }
    return bytes_.get() + offset;
}

std::uint8_t* DibBlock::Row(std::int32_t row) {
    return const_cast<std::uint8_t*>(static_cast<const DibBlock*>(this)->Row(row));
}

RgbQuad DibBlock::Pixel(std::int32_t x, std::int32_t y) const {
    BitmapInfoHeader header = Header();
    const std::uint8_t* row = Row(header.height - 1 - y);
    if (!row || x < 0 || x >= header.width) {
        return {};
    }
    auto fromTable = [&](unsigned index) {
        std::uint64_t at = header.size + 4ull * index;
        if (index >= ColourCount(header) || at + 4 > size_) {
            return RgbQuad{};
        }
        const std::uint8_t* q = bytes_.get() + at;
        return RgbQuad{q[0], q[1], q[2], q[3]};
    };
    switch (header.bitCount) {
    case 1:
        return fromTable((row[x / 8] >> (7 - x % 8)) & 1);
    case 4:
        return fromTable((row[x / 2] >> (x % 2 ? 0 : 4)) & 0xF);
    case 8:
        return fromTable(row[x]);
    case 24:
        return {row[3 * x], row[3 * x + 1], row[3 * x + 2], 0};
    case 32:
        return {row[4 * x], row[4 * x + 1], row[4 * x + 2], 0};
    default:
        return {};
    }
}

DibBlock MakeDib(std::int32_t width, std::int32_t height, std::uint16_t bitCount,
                 std::uint32_t colourCount) {
    BitmapInfoHeader header;
    header.width = width;
    header.height = height;
    header.bitCount = bitCount;
    header.clrUsed = colourCount;
    std::int64_t size = BlockSize(header);
    header.sizeImage = static_cast<std::uint32_t>(RowSize(header) * height);
    DibBlock block = DibBlock::Allocate(size > 0 ? static_cast<std::uint64_t>(size) : 0);
    if (!block.Empty()) {
        header.Store(block.Data());
    }
    return block;
}

} // namespace korva
