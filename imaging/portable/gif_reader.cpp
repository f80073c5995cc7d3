#include "imaging/portable/gif_reader.h"

#include "imaging/portable/gif_lzw.h"

#include <algorithm>
#include <vector>

namespace korva {

namespace {

constexpr std::uint8_t kExtensionIntroducer = 0x21;
constexpr std::uint8_t kImageSeparator = 0x2C;

// Skips data sub-blocks up to and including the zero-length one; false at the file's end.
bool SkipSubBlocks(ByteSource& source) {
    std::uint8_t buffer[255];
    for (;;) {
        std::uint8_t length = 0;
        if (source.Read(&length, 1) != 1) {
            return false;
        }
        if (length == 0) {
            return true;
        }
        if (ReadPieces(source, buffer, length) != length) {
            return false;
        }
    }
}

// Depths a DIB can have: a table of 2^bits entries goes into the next one up.
std::uint16_t DibDepth(int bits) {
    return bits <= 1 ? 1 : bits <= 4 ? 4 : 8;
}

// Places lines of one byte per pixel in the DIB's rows, from the top row down; lines beyond
// the picture's height are dropped. Lines of 8-bit pictures are decoded straight into their
// rows; those of 1 and 4 bits are packed, the rest of a short line's row staying zero.
class RowWriter : public GifLineSink {
public:
    explicit RowWriter(DibBlock& dib)
        : dib_(dib), header_(dib.Header()),
          line_(static_cast<std::size_t>(std::max(header_.width, 0))) {}

    std::uint8_t* BeginLine() override {
        if (header_.bitCount == 8 && nextLine_ < header_.height) {
            return dib_.Row(RowIndex());
        }
        return line_.data();
    }
    void EndLine(std::size_t count) override {
        if (header_.bitCount != 8 && nextLine_ < header_.height) {
            Pack(dib_.Row(RowIndex()), count);
        }
        ++nextLine_;
    }

private:
    std::int32_t RowIndex() const {
        return header_.height - 1 - static_cast<std::int32_t>(nextLine_);
    }

    void Pack(std::uint8_t* row, std::size_t count) const {
        const std::uint8_t mask = static_cast<std::uint8_t>((1u << header_.bitCount) - 1);
        for (std::size_t x = 0; x < count; ++x) {
            const std::uint8_t value = line_[x] & mask;
            if (header_.bitCount == 1) {
                row[x / 8] |= static_cast<std::uint8_t>(value << (7 - x % 8));
            } else {
                row[x / 2] |= static_cast<std::uint8_t>(x % 2 ? value : value << 4);
            }
        }
    }

    DibBlock& dib_;
    BitmapInfoHeader header_;
    std::vector<std::uint8_t> line_;
    // Wide: a short stream of long strings can make more lines than an int counts.
    std::int64_t nextLine_ = 0;
};

} // namespace

int CGif::FormatFlag() const {
    switch (error_.code) {
    case kImageUnknownFormat:
        return kNotAGif;
    case kImageReadError:
        return kUnreadableGif;
    default:
        return 0;
    }
}

DibBlock CGif::ReadGif(const std::string& path) {
    StdioFile file(path, "rb");
    if (!file) {
        return {};
    }
    StdioSource source(file.Get());
    return ReadGif(source);
}

DibBlock CGif::ReadGif(ByteSource& source, std::uint64_t memoryLimit) {
    source.Seek(0);
    std::uint8_t screen[13];
    if (ReadPieces(source, screen, sizeof screen) != sizeof screen) {
        error_.Set(kImageReadError, "Error reading GIF header");
        return {};
    }
    if (screen[0] != 'G' || screen[1] != 'I' || screen[2] != 'F') {
        error_.Set(kImageUnknownFormat, "This is not a gif file");
        return {};
    }
    const std::uint8_t packed = screen[10];
    int tableBits = (packed & 7) + 1;
    globalTable_ = (packed & 0x80) != 0;
    std::vector<RgbQuad> table;
    auto readTable = [&](int bits) {
        std::vector<std::uint8_t> rgb(3u << bits);
        if (ReadPieces(source, rgb.data(), rgb.size()) != rgb.size()) {
            return false;
        }
        table.clear();
        for (std::size_t i = 0; i < rgb.size(); i += 3) {
            table.push_back({rgb[i + 2], rgb[i + 1], rgb[i], 0});
        }
        return true;
    };
    if (globalTable_ && !readTable(tableBits)) {
        error_.Set(kImageReadError, "This File doesn't contain an image");
        return {};
    }

    // Blocks up to the first image; extensions are read past, other bytes passed over.
    for (bool image = false; !image;) {
        std::uint8_t introducer = 0;
        if (source.Read(&introducer, 1) != 1 || introducer == 0) {
            error_.Set(kImageReadError, "This File doesn't contain an image");
            return {};
        }
        if (introducer == kImageSeparator) {
            image = true;
        } else if (introducer == kExtensionIntroducer) {
            std::uint8_t label = 0;
            if (source.Read(&label, 1) != 1 || !SkipSubBlocks(source)) {
                error_.Set(kImageReadError, "This File doesn't contain an image");
                return {};
            }
        }
    }

    std::uint8_t descriptor[9];
    if (ReadPieces(source, descriptor, sizeof descriptor) != sizeof descriptor) {
        error_.Set(kImageReadError, "Error reading image block");
        return {};
    }
    const int width = GetLe16(descriptor + 4);
    const int height = GetLe16(descriptor + 6);
    const std::uint8_t imagePacked = descriptor[8];
    interlaced_ = (imagePacked & 0x40) != 0;
    if (imagePacked & 0x80) {
        // A local table: used only when the file has no global one.
        const int localBits = (imagePacked & 7) + 1;
        if (globalTable_) {
            std::vector<RgbQuad> keep = table;
            bool ok = readTable(localBits);
            table = keep;
            if (!ok) {
                error_.Set(kImageReadError, "Bad initial code size");
                return {};
            }
        } else {
            if (!readTable(localBits)) {
                error_.Set(kImageReadError, "Bad initial code size");
                return {};
            }
            tableBits = localBits;
        }
    }
    std::uint8_t codeSize = 0;
    if (source.Read(&codeSize, 1) != 1) {
        error_.Set(kImageReadError, "Bad initial code size");
        return {};
    }
    if (table.empty()) {
        // No colour table at all: grey levels for every value the codes can give.
        tableBits = std::clamp<int>(codeSize, 1, 8);
        const int count = 1 << DibDepth(tableBits);
        for (int i = 0; i < count; ++i) {
            auto level = static_cast<std::uint8_t>(i * 255 / (count - 1));
            table.push_back({level, level, level, 0});
        }
    }
    colourBits_ = DibDepth(tableBits);

    const std::uint32_t colours = 1u << colourBits_;
    BitmapInfoHeader header;
    header.width = width;
    header.height = height;
    header.bitCount = static_cast<std::uint16_t>(colourBits_);
    header.sizeImage = static_cast<std::uint32_t>(RowSize(header) * height);
    const std::int64_t blockSize = BlockSize(header);
    DibBlock dib = DibBlock::Allocate(static_cast<std::uint64_t>(blockSize), memoryLimit);
    if (dib.Empty()) {
        error_.Set(kImageNoMemory, texts::kNoMemory);
        return {};
    }
    header.Store(dib.Data());
    for (std::uint32_t i = 0; i < colours && i < table.size(); ++i) {
        std::uint8_t* q = dib.Data() + kInfoHeaderSize + 4 * i;
        q[0] = table[i].blue;
        q[1] = table[i].green;
        q[2] = table[i].red;
    }

    RowWriter lines(dib);
    GifLzwDecoder decoder;
    const GifLzwDecoder::Result result =
        decoder.Decode(source, codeSize, static_cast<std::size_t>(width), lines);
    badCodes_ = decoder.BadCodes();
    if (result != GifLzwDecoder::Result::kEndCode && result != GifLzwDecoder::Result::kDataEnded) {
        return {};
    }
    endedEarly_ = result == GifLzwDecoder::Result::kDataEnded;
    return dib;
}

} // namespace korva
