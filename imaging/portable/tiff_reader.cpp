#include "imaging/portable/tiff_reader.h"

#include "imaging/portable/tiff_lzw.h"

#include <algorithm>
#include <cstring>

namespace korva {

namespace {

constexpr std::uint16_t kMarkIntel = 0x4949;   // "II"
constexpr std::uint16_t kMarkVariant = 0x496E; // 'n','I'
constexpr std::uint32_t kMostValues = 1u << 20;

constexpr const char* kNotTiff = "This isn't a TIFF file";
constexpr const char* kBadTiff = "Bad tiff file";

enum Tag : std::uint16_t {
    kImageWidth = 256,
    kImageLength = 257,
    kBitsPerSample = 258,
    kCompression = 259,
    kPhotometric = 262,
    kStripOffsets = 273,
    kSamplesPerPixel = 277,
    kRowsPerStrip = 278,
    kStripByteCounts = 279,
    kXResolution = 282,
    kYResolution = 283,
    kPlanarConfiguration = 284,
    kPredictor = 317,
    kColorMap = 320,
};

std::uint32_t TypeSize(std::uint16_t type) {
    switch (type) {
    case 1:
    case 2:
    case 6:
    case 7:
        return 1;
    case 3:
    case 8:
        return 2;
    case 4:
    case 9:
    case 11:
        return 4;
    case 5:
    case 10:
    case 12:
        return 8;
    default:
        return 0;
    }
}

struct Entry {
    std::uint16_t tag = 0;
    std::uint16_t type = 0;
    std::uint32_t count = 0;
    std::uint8_t value[4] = {};
};

// The entry's values as unsigned numbers (BYTE, SHORT or LONG), from the entry itself when
// they fit in its four bytes, else from the offset it holds. Empty when they cannot be read.
std::vector<std::uint32_t> Values(ByteSource& source, const Entry& entry, std::uint32_t most) {
    std::vector<std::uint32_t> values;
    const std::uint32_t size = TypeSize(entry.type);
    if (size == 0 || size > 4 || entry.count == 0) {
        return values;
    }
    const std::uint32_t count = std::min({entry.count, most, kMostValues});
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count) * size);
    if (static_cast<std::uint64_t>(entry.count) * size <= 4) {
        std::memcpy(bytes.data(), entry.value, bytes.size());
    } else {
        const std::uint64_t here = source.Position();
        bool ok = source.Seek(GetLe32(entry.value)) &&
                  ReadPieces(source, bytes.data(), bytes.size()) == bytes.size();
        source.Seek(here);
        if (!ok) {
            return values;
        }
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint8_t* p = bytes.data() + i * size;
        values.push_back(size == 1 ? *p : size == 2 ? GetLe16(p) : GetLe32(p));
    }
    return values;
}

std::uint32_t First(ByteSource& source, const Entry& entry, std::uint32_t fallback) {
    std::vector<std::uint32_t> values = Values(source, entry, 1);
    return values.empty() ? fallback : values.front();
}

double Rational(ByteSource& source, const Entry& entry) {
    std::uint8_t bytes[8];
    const std::uint64_t here = source.Position();
    bool ok = entry.type == 5 && source.Seek(GetLe32(entry.value)) &&
              ReadPieces(source, bytes, sizeof bytes) == sizeof bytes;
    source.Seek(here);
    if (!ok || GetLe32(bytes + 4) == 0) {
        return 0;
    }
    return static_cast<double>(GetLe32(bytes)) / GetLe32(bytes + 4);
}

} // namespace

bool CTiff::RecognisedMark() const {
    return byteOrder_ == kMarkIntel || byteOrder_ == kMarkVariant;
}

void CTiff::Fail(int code, const char* text) {
    error_.Set(code, text ? text : "");
}

DibBlock CTiff::ReadTiff(const std::string& path) {
    error_.SetCode(1);
    StdioFile file(path, "rb");
    if (!file) {
        Fail(kImageFileNotFound, "FILE ERROR");
        return {};
    }
    StdioSource source(file.Get());
    return ReadTiff(source);
}

bool CTiff::ReadDirectory(ByteSource& source) {
    std::uint8_t start[8];
    byteOrder_ = 0;
    source.Seek(0);
    if (ReadPieces(source, start, sizeof start) != sizeof start) {
        Fail(kImageUnknownFormat, kNotTiff);
        return false;
    }
    byteOrder_ = GetLe16(start);
    if (byteOrder_ != kMarkIntel && byteOrder_ != kMarkVariant) {
        Fail(kImageUnknownFormat, kNotTiff);
        return false;
    }
    std::uint8_t countBytes[2];
    if (!source.Seek(GetLe32(start + 4)) || ReadPieces(source, countBytes, 2) != 2) {
        Fail(kImageUnknownFormat, kNotTiff);
        return false;
    }
    const std::uint16_t entries = GetLe16(countBytes);
    bool sawWidth = false;
    bool sawHeight = false;
    for (std::uint16_t i = 0; i < entries; ++i) {
        std::uint8_t raw[12];
        if (ReadPieces(source, raw, sizeof raw) != sizeof raw) {
            Fail(kImageUnknownFormat, kNotTiff);
            return false;
        }
        Entry entry;
        entry.tag = GetLe16(raw);
        entry.type = GetLe16(raw + 2);
        entry.count = GetLe32(raw + 4);
        std::memcpy(entry.value, raw + 8, 4);
        switch (entry.tag) {
        case kImageWidth:
            width_ = First(source, entry, 0);
            sawWidth = true;
            break;
        case kImageLength:
            height_ = First(source, entry, 0);
            sawHeight = true;
            break;
        case kBitsPerSample:
            bitsPerSample_ = First(source, entry, 1);
            break;
        case kCompression:
            compression_ = First(source, entry, 1);
            break;
        case kPhotometric:
            photometric_ = First(source, entry, 0);
            break;
        case kStripOffsets:
            stripOffsets_ = Values(source, entry, entry.count);
            break;
        case kSamplesPerPixel:
            samplesPerPixel_ = First(source, entry, 1);
            break;
        case kRowsPerStrip:
            rowsPerStrip_ = First(source, entry, 0);
            break;
        case kStripByteCounts:
            stripByteCounts_ = Values(source, entry, entry.count);
            break;
        case kXResolution:
            xResolution_ = Rational(source, entry);
            break;
        case kYResolution:
            yResolution_ = Rational(source, entry);
            break;
        case kPlanarConfiguration:
            planarConfiguration_ = First(source, entry, 1);
            break;
        case kPredictor:
            predictor_ = First(source, entry, 1);
            break;
        case kColorMap:
            colorMapOffset_ = entry.count * 2u > 4 ? GetLe32(entry.value) : 0;
            break;
        default:
            break; // other tags are read past
        }
    }
    if (!sawWidth || !sawHeight) {
        Fail(kImageUnknownFormat, kNotTiff);
        return false;
    }
    return true;
}

bool CTiff::ReadColourMap(ByteSource& source, DibBlock& dib, std::uint32_t colours) {
    // All reds, then all greens, then all blues, 16 bits each: the high byte is the colour.
    std::vector<std::uint8_t> map(static_cast<std::size_t>(colours) * 6);
    if (!source.Seek(colorMapOffset_) || ReadPieces(source, map.data(), map.size()) != map.size()) {
        return false;
    }
    for (std::uint32_t i = 0; i < colours; ++i) {
        std::uint8_t* q = dib.Data() + kInfoHeaderSize + 4 * i;
        q[2] = map[2 * i + 1];
        q[1] = map[2 * (colours + i) + 1];
        q[0] = map[2 * (2 * colours + i) + 1];
    }
    return true;
}

namespace {

// A row as the file stores it into the DIB's form: horizontal differences undone (each sample
// is stored as the change from the one before it in its channel), and red and blue exchanged
// in 24-bit pixels. Rows of 24 bits are a whole number of pixels, those of 8 bits of samples.
void FinishRow(std::uint8_t* row, std::size_t size, std::uint16_t bitCount,
               std::uint32_t predictor) {
    const bool differences = predictor == 2 && bitCount >= 8;
    if (bitCount == 24) {
        if (differences) {
            std::uint8_t red = 0, green = 0, blue = 0;
            for (std::size_t x = 0; x + 2 < size; x += 3) {
                red = static_cast<std::uint8_t>(red + row[x]);
                green = static_cast<std::uint8_t>(green + row[x + 1]);
                blue = static_cast<std::uint8_t>(blue + row[x + 2]);
                row[x] = blue;
                row[x + 1] = green;
                row[x + 2] = red;
            }
        } else {
            for (std::size_t x = 0; x + 2 < size; x += 3) {
                const std::uint8_t red = row[x];
                row[x] = row[x + 2];
                row[x + 2] = red;
            }
        }
    } else if (differences && size > 0) {
        std::uint8_t sum = row[0];
        for (std::size_t i = 1; i < size; ++i) {
            sum = static_cast<std::uint8_t>(sum + row[i]);
            row[i] = sum;
        }
    }
}

} // namespace

bool CTiff::ReadStrips(ByteSource& source, DibBlock& dib) {
    const BitmapInfoHeader header = dib.Header();
    const std::size_t fileRowSize = (static_cast<std::size_t>(header.bitCount) * width_ + 7) / 8;
    const std::uint32_t rows =
        rowsPerStrip_ == 0 || rowsPerStrip_ > height_ ? height_ : rowsPerStrip_;
    const std::uint32_t strips = (height_ + rows - 1) / rows;
    const std::uint64_t fileLength = source.Length();
    std::vector<std::uint8_t> stripBytes;
    std::vector<std::uint8_t> coded;
    for (std::uint32_t strip = 0; strip < strips; ++strip) {
        if (strip >= stripOffsets_.size()) {
            return false;
        }
        const std::uint32_t firstRow = strip * rows;
        const std::uint32_t stripRows = std::min(rows, height_ - firstRow);
        auto rowOf = [&](std::uint32_t r) {
            return dib.Row(header.height - 1 - static_cast<std::int32_t>(firstRow + r));
        };
        const std::uint64_t offset = stripOffsets_[strip];
        if (compression_ == 1) {
            // Uncoded rows go straight into their places.
            if (!source.Seek(offset)) {
                return false;
            }
            for (std::uint32_t r = 0; r < stripRows; ++r) {
                std::uint8_t* row = rowOf(r);
                if (ReadPieces(source, row, fileRowSize) != fileRowSize) {
                    return false;
                }
                FinishRow(row, fileRowSize, header.bitCount, predictor_);
            }
            continue;
        }
        // The coded strip: as long as its byte count says, else up to the end of the file.
        std::uint64_t length = offset < fileLength ? fileLength - offset : 0;
        if (strip < stripByteCounts_.size()) {
            length = std::min<std::uint64_t>(length, stripByteCounts_[strip]);
        }
        coded.resize(static_cast<std::size_t>(length));
        stripBytes.resize(fileRowSize * stripRows);
        if (!source.Seek(offset) ||
            ReadPieces(source, coded.data(), coded.size()) != coded.size() ||
            DecodeTiffLzw(coded, stripBytes) != stripBytes.size()) {
            return false;
        }
        for (std::uint32_t r = 0; r < stripRows; ++r) {
            std::uint8_t* row = rowOf(r);
            std::memcpy(row, stripBytes.data() + r * fileRowSize, fileRowSize);
            FinishRow(row, fileRowSize, header.bitCount, predictor_);
        }
    }
    return true;
}

DibBlock CTiff::ReadTiff(ByteSource& source, std::uint64_t memoryLimit) {
    error_.SetCode(1);
    if (!ReadDirectory(source)) {
        return {};
    }
    if (width_ == 0 || height_ == 0) {
        Fail(kImageUnknownFormat, kNotTiff);
        return {};
    }
    // What the DIB can show: 1, 4 or 8 bits of grey or palette, or 8-bit RGB in one plane.
    const bool rgb = photometric_ == 2;
    const bool supported =
        (compression_ == 1 || compression_ == 5) && planarConfiguration_ == 1 &&
        photometric_ <= 3 &&
        (rgb ? bitsPerSample_ == 8 && samplesPerPixel_ == 3
             : (bitsPerSample_ == 1 || bitsPerSample_ == 4 || bitsPerSample_ == 8) &&
                   samplesPerPixel_ == 1);
    if (!supported) {
        Fail(kImageUnknownFormat, nullptr);
        return {};
    }
    const std::uint16_t bits = rgb ? 24 : static_cast<std::uint16_t>(bitsPerSample_);
    BitmapInfoHeader header;
    header.width = static_cast<std::int32_t>(std::min<std::uint32_t>(width_, INT32_MAX));
    header.height = static_cast<std::int32_t>(std::min<std::uint32_t>(height_, INT32_MAX));
    header.bitCount = bits;
    header.sizeImage = static_cast<std::uint32_t>(RowSize(header) * header.height);
    header.xPelsPerMeter = static_cast<std::int32_t>(std::clamp(xResolution_, 0.0, 2e9));
    header.yPelsPerMeter = static_cast<std::int32_t>(std::clamp(yResolution_, 0.0, 2e9));
    const std::int64_t blockSize = BlockSize(header);
    DibBlock dib =
        DibBlock::Allocate(blockSize > 0 ? static_cast<std::uint64_t>(blockSize) : 0, memoryLimit);
    if (dib.Empty()) {
        Fail(kImageNoMemory, texts::kNoMemory);
        return {};
    }
    header.Store(dib.Data());

    const std::uint32_t colours = rgb ? 0 : 1u << bits;
    paletteMade_ = false;
    if (photometric_ == 0 || photometric_ == 1) {
        // Grey levels: white is zero (0) or black is zero (1).
        for (std::uint32_t i = 0; i < colours; ++i) {
            auto level = static_cast<std::uint8_t>(i * 255 / (colours - 1));
            if (photometric_ == 0) {
                level = static_cast<std::uint8_t>(255 - level);
            }
            std::memset(dib.Data() + kInfoHeaderSize + 4 * i, level, 3);
        }
        paletteMade_ = photometric_ == 1;
    } else if (!rgb) {
        if (colorMapOffset_ == 0 || !ReadColourMap(source, dib, colours)) {
            Fail(kImageShortPixels, kBadTiff);
            return {};
        }
        paletteMade_ = true;
    }
    if (!ReadStrips(source, dib)) {
        paletteMade_ = false;
        Fail(kImageShortPixels, kBadTiff);
        return {};
    }
    return dib;
}

} // namespace korva
