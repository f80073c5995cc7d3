#include "imaging/portable/bitmap_file.h"

#include "imaging/portable/colour_reduction.h"
#include "imaging/portable/run_length.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>
#include <vector>

namespace korva {

namespace {

// One colour channel of a bit-field pixel, scaled to 8 bits.
struct ChannelMask {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    explicit ChannelMask(std::uint32_t m) : mask(m) {
        if (m != 0) {
            shift = std::countr_zero(m);
            bits = std::popcount(m >> shift);
        }
    }
    std::uint8_t Extract(std::uint32_t pixel) const {
        if (bits == 0) {
            return 0;
        }
        std::uint32_t value = (pixel & mask) >> shift;
        if (bits >= 8) {
            return static_cast<std::uint8_t>(value >> (bits - 8));
        }
        return static_cast<std::uint8_t>(value * 255 / ((1u << bits) - 1));
    }
};

void FlipRows(DibBlock& dib) {
    const std::int32_t height = dib.Header().height;
    const std::int64_t rowSize = RowSize(dib.Header());
    std::vector<std::uint8_t> spare(static_cast<std::size_t>(rowSize));
    for (std::int32_t top = 0, bottom = height - 1; top < bottom; ++top, --bottom) {
        std::uint8_t* a = dib.Row(top);
        std::uint8_t* b = dib.Row(bottom);
        if (!a || !b) {
            return;
        }
        std::memcpy(spare.data(), a, spare.size());
        std::memcpy(a, b, spare.size());
        std::memcpy(b, spare.data(), spare.size());
    }
}

// Reads bit-field rows of 16 or 32 bits from `source` into the 24-bit rows of `dib`.
bool ReadBitfieldPixels(ByteSource& source, const BitmapInfoHeader& fileHeader,
                        const std::uint32_t masks[3], DibBlock& dib) {
    const ChannelMask red(masks[0]), green(masks[1]), blue(masks[2]);
    const std::int64_t rowSize = RowSize(fileHeader);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(rowSize));
    const int bytesPerPixel = fileHeader.bitCount / 8;
    for (std::int32_t y = 0; y < dib.Header().height; ++y) {
        if (ReadPieces(source, row.data(), row.size()) != row.size()) {
            return false;
        }
        std::uint8_t* out = dib.Row(y);
        for (std::int32_t x = 0; x < fileHeader.width; ++x) {
            const std::uint8_t* in = row.data() + x * bytesPerPixel;
            std::uint32_t pixel = bytesPerPixel == 2 ? GetLe16(in) : GetLe32(in);
            out[3 * x] = blue.Extract(pixel);
            out[3 * x + 1] = green.Extract(pixel);
            out[3 * x + 2] = red.Extract(pixel);
        }
    }
    return true;
}

std::uint16_t SignatureOfKind(int kind) {
    switch (kind) {
    case kKindWindows:
        return kSignatureWindows;
    case kKindVariantP:
        return kSignatureVariantP;
    default:
        return kSignatureVariantR;
    }
}

// File header and info header of the given kind; returns the bytes to write.
std::vector<std::uint8_t> Headers(int kind, const BitmapInfoHeader& header, std::uint32_t fileSize,
                                  std::uint32_t pixelOffset) {
    std::vector<std::uint8_t> bytes(kFileHeaderSize +
                                    (kind == kKindVariantP ? kVariantPHeaderSize : 40));
    PutLe16(bytes.data(), SignatureOfKind(kind));
    PutLe32(bytes.data() + 2, fileSize);
    PutLe32(bytes.data() + 10, pixelOffset);
    std::uint8_t* info = bytes.data() + kFileHeaderSize;
    switch (kind) {
    case kKindWindows:
        header.Store(info);
        break;
    case kKindVariantP:
        StoreVariantPHeader(header, info);
        break;
    default:
        StoreVariantRHeader(header, kind == kKindVariantRCoded, info);
        break;
    }
    return bytes;
}

bool WriteBody(ByteSink& sink, std::span<const std::uint8_t> body, bool coded) {
    return coded ? EncodeRunLength(body, sink) : WritePieces(sink, body.data(), body.size());
}

bool IsCodedKind(int kind) {
    return kind == kKindVariantRCoded || kind == kKindVariantP;
}

// A copy of `dib` whose colour table has the full length of its depth, as a variant-P file
// must carry it (its header has no colour-used field).
DibBlock WithFullColourTable(const DibBlock& dib) {
    BitmapInfoHeader header = dib.Header();
    std::vector<RgbQuad> table = dib.ColourTable();
    header.clrUsed = 0;
    header.clrImportant = 0;
    DibBlock copy = MakeDib(header.width, header.height, header.bitCount);
    if (copy.Empty()) {
        return copy;
    }
    header.Store(copy.Data());
    const std::size_t fullCount = static_cast<std::size_t>(ColourCount(header));
    for (std::size_t i = 0; i < std::min(fullCount, table.size()); ++i) {
        std::uint8_t* q = copy.Data() + kInfoHeaderSize + 4 * i;
        q[0] = table[i].blue;
        q[1] = table[i].green;
        q[2] = table[i].red;
        q[3] = table[i].reserved;
    }
    for (std::int32_t y = 0; y < header.height; ++y) {
        const std::uint8_t* from = dib.Row(y);
        std::uint8_t* to = copy.Row(y);
        if (!from || !to) {
            return {};
        }
        std::memcpy(to, from, static_cast<std::size_t>(RowSize(header)));
    }
    return copy;
}

} // namespace

BitmapInfoHeader ParseVariantRHeader(const std::uint8_t* p, bool* coded) {
    BitmapInfoHeader h;
    h.planes = GetLe16(p);
    h.bitCount = GetLe16(p + 2);
    if (coded) {
        *coded = GetLe32(p + 4) == 1;
    }
    h.sizeImage = GetLe32(p + 8);
    h.xPelsPerMeter = static_cast<std::int32_t>(GetLe32(p + 12));
    h.yPelsPerMeter = static_cast<std::int32_t>(GetLe32(p + 16));
    h.clrUsed = GetLe32(p + 20);
    h.clrImportant = GetLe32(p + 24);
    h.size = GetLe32(p + 28);
    h.width = static_cast<std::int32_t>(GetLe32(p + 32));
    h.height = static_cast<std::int32_t>(GetLe32(p + 36));
    h.compression = kCompressionRgb;
    return h;
}

void StoreVariantRHeader(const BitmapInfoHeader& h, bool coded, std::uint8_t* p) {
    PutLe16(p, h.planes);
    PutLe16(p + 2, h.bitCount);
    PutLe32(p + 4, coded ? 1 : 0);
    PutLe32(p + 8, h.sizeImage);
    PutLe32(p + 12, static_cast<std::uint32_t>(h.xPelsPerMeter));
    PutLe32(p + 16, static_cast<std::uint32_t>(h.yPelsPerMeter));
    PutLe32(p + 20, h.clrUsed);
    PutLe32(p + 24, h.clrImportant);
    PutLe32(p + 28, h.size);
    PutLe32(p + 32, static_cast<std::uint32_t>(h.width));
    PutLe32(p + 36, static_cast<std::uint32_t>(h.height));
}

BitmapInfoHeader ParseVariantPHeader(const std::uint8_t* p) {
    BitmapInfoHeader h;
    h.yPelsPerMeter = static_cast<std::int32_t>(GetLe32(p));
    h.bitCount = GetLe16(p + 4);
    h.planes = GetLe16(p + 6);
    h.width = static_cast<std::int32_t>(GetLe32(p + 8));
    h.sizeImage = GetLe32(p + 12);
    h.xPelsPerMeter = static_cast<std::int32_t>(GetLe32(p + 16));
    h.size = GetLe32(p + 20);
    h.height = static_cast<std::int32_t>(GetLe32(p + 24));
    h.compression = kCompressionRgb;
    h.clrUsed = 0;
    h.clrImportant = 0;
    return h;
}

void StoreVariantPHeader(const BitmapInfoHeader& h, std::uint8_t* p) {
    PutLe32(p, static_cast<std::uint32_t>(h.yPelsPerMeter));
    PutLe16(p + 4, h.bitCount);
    PutLe16(p + 6, h.planes);
    PutLe32(p + 8, static_cast<std::uint32_t>(h.width));
    PutLe32(p + 12, h.sizeImage);
    PutLe32(p + 16, static_cast<std::uint32_t>(h.xPelsPerMeter));
    PutLe32(p + 20, h.size);
    PutLe32(p + 24, static_cast<std::uint32_t>(h.height));
}

DibBlock ReadDibFile(ByteSource& source, std::uint64_t fileLength, ImageError& error,
                     BitmapFileInfo* info, std::uint64_t memoryLimit) {
    if (fileLength == 0) {
        fileLength = source.Length();
    }
    std::uint8_t fileHeader[kFileHeaderSize];
    if (ReadPieces(source, fileHeader, sizeof fileHeader) != sizeof fileHeader) {
        error.Set(kImageReadError, texts::kNotDib);
        return {};
    }

    const std::uint16_t signature = GetLe16(fileHeader);
    std::uint8_t raw[kInfoHeaderSize] = {};
    BitmapInfoHeader header;
    bool coded = false;
    std::uint32_t headerLength = 0;
    bool bitfields = false;
    std::uint32_t masks[3] = {};

    switch (signature) {
    case kSignatureVariantR:
        if (ReadPieces(source, raw, 40) != 40) {
            error.Set(kImageReadError, texts::kReadFileError);
            return {};
        }
        header = ParseVariantRHeader(raw, &coded);
        headerLength = 40;
        break;
    case kSignatureVariantP:
        if (ReadPieces(source, raw, kVariantPHeaderSize) != kVariantPHeaderSize) {
            error.Set(kImageReadError, texts::kReadFileError);
            return {};
        }
        header = ParseVariantPHeader(raw);
        coded = true;
        headerLength = kVariantPHeaderSize;
        break;
    case kSignatureWindows: {
        if (ReadPieces(source, raw, 40) != 40) {
            error.Set(kImageReadError, texts::kReadFileError);
            return {};
        }
        header = BitmapInfoHeader::Parse(raw);
        bitfields = header.compression == kCompressionBitfields;
        // Older, shorter headers have another layout; bit fields come with 16 or 32 bits only.
        if ((header.compression != kCompressionRgb && !bitfields) || header.size < 40 ||
            (bitfields && header.bitCount != 16 && header.bitCount != 32)) {
            error.Set(kImageReadError, texts::kUnsupportedFormat);
            return {};
        }
        headerLength = header.size;
        if (bitfields) {
            // The masks follow a 40-byte header, and are part of any longer one.
            std::uint8_t maskBytes[12];
            std::uint64_t at =
                header.size >= 52 ? kFileHeaderSize + 40 : kFileHeaderSize + header.size;
            if (!source.Seek(at) || ReadPieces(source, maskBytes, 12) != 12) {
                error.Set(kImageReadError, texts::kReadFileError);
                return {};
            }
            for (int i = 0; i < 3; ++i) {
                masks[i] = GetLe32(maskBytes + 4 * i);
            }
            if (header.size < 52) {
                headerLength = header.size + 12;
            }
        }
        if (!source.Seek(kFileHeaderSize + std::uint64_t{headerLength})) {
            error.Set(kImageReadError, texts::kReadFileError);
            return {};
        }
        break;
    }
    default:
        error.Set(kImageUnknownFormat, texts::kInvalidFormat);
        return {};
    }

    // The block always has the 40-byte header and the rows bottom first.
    BitmapInfoHeader stored = header;
    stored.size = kInfoHeaderSize;
    const bool topDown = header.height < 0;
    if (topDown) {
        stored.height = header.height == INT32_MIN ? INT32_MAX : -header.height;
    }
    if (RowSize(stored) == 0 || stored.height == 0) {
        // No picture has rows of no bytes (no width, or a width of -1 that rounds to none);
        // reading "rows" of none would go on for up to 2^31 of them.
        error.Set(kImageReadError, texts::kUnsupportedFormat);
        return {};
    }
    BitmapInfoHeader fileRows = stored;
    fileRows.bitCount = header.bitCount;
    if (bitfields) {
        stored.bitCount = 24;
        stored.compression = kCompressionRgb;
        // Only a block within the allocation limit is ever made, so only its size matters.
        std::int64_t imageSize = 0;
        stored.sizeImage =
            __builtin_mul_overflow(RowSize(stored), std::int64_t{stored.height}, &imageSize)
                ? 0u
                : static_cast<std::uint32_t>(imageSize);
    }

    const std::int64_t blockSize = BlockSize(stored);
    const std::uint64_t bodyStart = kFileHeaderSize + std::uint64_t{headerLength};
    if (!coded && blockSize > 0 && blockSize <= static_cast<std::int64_t>(kMaxDibBlockSize)) {
        // Uncoded rows must all be in the file: no need to allocate for a file that is short.
        // The file's own rows may be far wider than the block's (bit fields of a wide pixel):
        // a product beyond 64 bits is simply more than any file holds.
        std::int64_t rows = 0;
        std::int64_t needed = 0;
        const bool tooLarge =
            __builtin_mul_overflow(RowSize(fileRows), std::int64_t{stored.height}, &rows) ||
            __builtin_add_overflow(rows, 4 * ColourCount(stored), &needed) || needed < 0;
        if (tooLarge || bodyStart + static_cast<std::uint64_t>(needed) > source.Length()) {
            error.Set(kImageReadError, texts::kReadError);
            return {};
        }
    }
    DibBlock dib =
        DibBlock::Allocate(blockSize > 0 ? static_cast<std::uint64_t>(blockSize) : 0, memoryLimit);
    if (dib.Empty()) {
        error.Set(kImageNoMemory, texts::kNoMemory);
        return {};
    }
    stored.Store(dib.Data());
    std::span<std::uint8_t> body(dib.Data() + kInfoHeaderSize, dib.Size() - kInfoHeaderSize);

    bool ok = false;
    if (coded) {
        std::uint64_t codedLength = fileLength > bodyStart ? fileLength - bodyStart : 0;
        ok = DecodeRunLength(source, codedLength, body);
    } else if (bitfields) {
        std::size_t tableBytes = static_cast<std::size_t>(4 * ColourCount(stored));
        ok = ReadPieces(source, body.data(), tableBytes) == tableBytes &&
             ReadBitfieldPixels(source, fileRows, masks, dib);
    } else {
        ok = ReadPieces(source, body.data(), body.size()) == body.size();
    }
    if (!ok) {
        error.Set(kImageReadError, texts::kReadError);
        return {};
    }
    if (topDown) {
        FlipRows(dib);
    }
    if (info) {
        info->signature = signature;
        info->coded = coded;
        info->topDown = topDown;
        info->fileHeaderSize = header.size;
        info->fileBitCount = header.bitCount;
    }
    return dib;
}

std::uint64_t WriteDibFile(ByteSink& sink, const DibBlock& dib, int kind, ImageError& error) {
    if (dib.Empty()) {
        return 0;
    }
    if (kind < kKindWindows || kind > kKindVariantP || dib.Size() < kInfoHeaderSize) {
        error.SetCode(kImageWriteError);
        return 0;
    }
    BitmapInfoHeader header = dib.Header();
    if (kind == kKindVariantP && header.clrUsed != 0) {
        DibBlock full = WithFullColourTable(dib);
        if (full.Empty()) {
            error.SetCode(kImageWriteError);
            return 0;
        }
        return WriteDibFile(sink, full, kind, error);
    }
    const std::int64_t blockSize = BlockSize(header);
    // A header that describes more than the block holds cannot be written from it.
    if (blockSize < kInfoHeaderSize || blockSize > static_cast<std::int64_t>(dib.Size())) {
        error.SetCode(kImageWriteError);
        return 0;
    }
    const auto fileSize = static_cast<std::uint32_t>(blockSize + kFileHeaderSize);
    const auto pixelOffset =
        static_cast<std::uint32_t>(kFileHeaderSize + header.size + 4 * ColourCount(header));
    std::vector<std::uint8_t> headers = Headers(kind, header, fileSize, pixelOffset);
    if (kind == kKindWindows) {
        // The info header goes out exactly as the block holds it.
        std::memcpy(headers.data() + kFileHeaderSize, dib.Data(), kInfoHeaderSize);
    }
    std::span<const std::uint8_t> body(dib.Data() + kInfoHeaderSize,
                                       static_cast<std::size_t>(blockSize) - kInfoHeaderSize);
    if (!WritePieces(sink, headers.data(), headers.size()) ||
        !WriteBody(sink, body, IsCodedKind(kind))) {
        error.SetCode(kImageWriteError);
        return 0;
    }
    return static_cast<std::uint64_t>(blockSize) + kFileHeaderSize;
}

std::uint64_t WriteDib16File(ByteSink& sink, const DibBlock& dib, int kind,
                             std::span<const RgbQuad, 16> palette, ImageError& error) {
    if (dib.Empty()) {
        return 0;
    }
    BitmapInfoHeader header = dib.Header();
    if (kind < kKindWindows || kind > kKindVariantP || header.bitCount != 8 ||
        BlockSize(header) > static_cast<std::int64_t>(dib.Size())) {
        error.SetCode(kImageWriteError);
        return 0;
    }
    // The 8-bit header with 4 bits per pixel; its colour-used field and image size would
    // describe the source, so they are set for the 16 colours written.
    BitmapInfoHeader reduced = header;
    reduced.bitCount = 4;
    reduced.clrUsed = 0;
    reduced.clrImportant = 0;
    const std::int64_t rowSize = RowSize(reduced);
    reduced.sizeImage = static_cast<std::uint32_t>(rowSize * header.height);

    constexpr std::uint32_t kPixelOffset = kFileHeaderSize + 40 + 16 * 4;
    const auto fileSize = static_cast<std::uint32_t>(rowSize * header.height + kPixelOffset);
    std::vector<std::uint8_t> headers = Headers(kind, reduced, fileSize, kPixelOffset);

    std::uint8_t table[16 * 4];
    for (std::size_t i = 0; i < 16; ++i) {
        table[4 * i] = palette[i].blue;
        table[4 * i + 1] = palette[i].green;
        table[4 * i + 2] = palette[i].red;
        table[4 * i + 3] = palette[i].reserved;
    }
    const std::vector<std::uint8_t> pixels = ReduceTo16Colours(dib, palette);
    const bool coded = IsCodedKind(kind);
    if (!WritePieces(sink, headers.data(), headers.size()) || !WriteBody(sink, table, coded) ||
        !WriteBody(sink, pixels, coded)) {
        error.SetCode(kImageWriteError);
        return 0;
    }
    return fileSize;
}

} // namespace korva
