// Pictures and metafiles cut short at every length, read by each reader and by the loader's
// chain: the reader's own failure, or a whole picture where the cut left every pixel, never a
// picture with missing pixels reported as read. Coded bitmaps are the exception the format
// makes: their run-length stream has no end of its own, so a cut one reads as far as it goes.
#include "imaging/portable/gif_reader.h"
#include "imaging/portable/metafile_header.h"
#include "imaging/portable/picture_reader.h"
#include "imaging/portable/tiff_reader.h"
#include "imaging_test_support.h"
#include "tools/mkpictures/metafile_writer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <set>

using namespace korva;
using namespace imagingtest;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Cut(const Bytes& file, std::size_t length) {
    return Bytes(file.begin(), file.begin() + static_cast<long>(length));
}

bool SameBlock(const DibBlock& a, const DibBlock& b) {
    return a.Size() == b.Size() && std::memcmp(a.Data(), b.Data(), a.Size()) == 0;
}

// A Windows bitmap file of a 40-byte header with the given fields, then `body`.
Bytes WindowsFile(std::int32_t width, std::int32_t height, std::uint16_t bits,
                  std::uint32_t compression, const Bytes& body) {
    Bytes file(14 + 40, 0);
    file[0] = 'B';
    file[1] = 'M';
    PutLe32(file.data() + 2, static_cast<std::uint32_t>(file.size() + body.size()));
    BitmapInfoHeader header;
    header.width = width;
    header.height = height;
    header.bitCount = bits;
    header.compression = compression;
    header.Store(file.data() + 14);
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

struct BitmapCase {
    std::string name;
    Bytes file;
    std::uint32_t headerLength; // bytes after the file header that the reader needs first
    bool coded;
};

std::vector<BitmapCase> BitmapCases() {
    std::vector<BitmapCase> cases;
    ImageError error;
    for (std::uint16_t bits : {1, 4, 8, 24}) {
        cases.push_back({"windows " + std::to_string(bits) + " bits",
                         WriteToMemory(PatternDib(13, 7, bits), kKindWindows, error), 40, false});
    }
    cases.push_back(
        {"variant R", WriteToMemory(PatternDib(11, 6, 8), kKindVariantR, error), 40, false});
    cases.push_back({"variant R coded",
                     WriteToMemory(PatternDib(11, 6, 8), kKindVariantRCoded, error), 40, true});
    cases.push_back({"variant P 4 bits", WriteToMemory(PatternDib(9, 5, 4), kKindVariantP, error),
                     kVariantPHeaderSize, true});
    cases.push_back({"variant P 24 bits", WriteToMemory(PatternDib(9, 5, 24), kKindVariantP, error),
                     kVariantPHeaderSize, true});

    // Bit fields of 16 bits (5-6-5) and 32 bits, masks after the header; 3 × 2 pixels.
    Bytes masks16(12), masks32(12);
    PutLe32(masks16.data(), 0xF800);
    PutLe32(masks16.data() + 4, 0x07E0);
    PutLe32(masks16.data() + 8, 0x001F);
    PutLe32(masks32.data(), 0xFF0000);
    PutLe32(masks32.data() + 4, 0x00FF00);
    PutLe32(masks32.data() + 8, 0x0000FF);
    Bytes body16 = masks16, body32 = masks32;
    for (int i = 0; i < 2 * 8; ++i) {
        body16.push_back(static_cast<std::uint8_t>(i * 37 + 5));
    }
    for (int i = 0; i < 2 * 12; ++i) {
        body32.push_back(static_cast<std::uint8_t>(i * 53 + 1));
    }
    cases.push_back(
        {"bit fields 16", WindowsFile(3, 2, 16, kCompressionBitfields, body16), 52, false});
    cases.push_back(
        {"bit fields 32", WindowsFile(3, 2, 32, kCompressionBitfields, body32), 52, false});

    // Rows stored top first: an 8-bit picture of 5 × 3, its table and rows turned over.
    DibBlock dib = PatternDib(5, 3, 8);
    Bytes topDown(dib.Data() + 40, dib.Data() + 40 + 4 * 256);
    for (std::int32_t y = 2; y >= 0; --y) {
        topDown.insert(topDown.end(), dib.Row(y), dib.Row(y) + 8);
    }
    cases.push_back({"top-down", WindowsFile(5, -3, 8, kCompressionRgb, topDown), 40, false});
    return cases;
}

// Bytes of `a` after the 40-byte header that are not those of `b`, from where they first
// differ: all zero, as a coded picture leaves what its stream did not reach.
::testing::AssertionResult ReadAsFarAsItGoes(const DibBlock& cut, const DibBlock& whole) {
    if (cut.Size() != whole.Size() || std::memcmp(cut.Data(), whole.Data(), 40) != 0) {
        return ::testing::AssertionFailure() << "another header";
    }
    std::size_t i = 40;
    while (i < cut.Size() && cut.Data()[i] == whole.Data()[i]) {
        ++i;
    }
    for (std::size_t rest = i; rest < cut.Size(); ++rest) {
        if (cut.Data()[rest] != 0) {
            return ::testing::AssertionFailure() << "byte " << rest << " of the block is neither "
                                                 << "the picture's nor zero";
        }
    }
    return ::testing::AssertionSuccess();
}

// A TIFF file from one of ImageMagick's with its directory and values first and the strips
// last, so that a cut takes pixels before it takes the directory.
Bytes DirectoryFirst(const Bytes& written) {
    CTiff tiff;
    MemorySource source(written);
    EXPECT_FALSE(tiff.ReadTiff(source).Empty()) << tiff.ErrorText();
    struct Entry {
        std::uint16_t tag;
        std::uint16_t type; // 3 SHORT, 4 LONG
        std::vector<std::uint32_t> values;
    };
    const auto strips = static_cast<std::uint32_t>(tiff.stripOffsets_.size());
    std::vector<Entry> entries = {
        {256, 4, {tiff.width_}},
        {257, 4, {tiff.height_}},
        {258, 3, std::vector<std::uint32_t>(tiff.samplesPerPixel_, tiff.bitsPerSample_)},
        {259, 3, {tiff.compression_}},
        {262, 3, {tiff.photometric_}},
        {273, 4, std::vector<std::uint32_t>(strips, 0)},
        {277, 3, {tiff.samplesPerPixel_}},
        {278, 4, {tiff.rowsPerStrip_}},
        {279, 4, tiff.stripByteCounts_},
        {317, 3, {tiff.predictor_}},
    };
    if (tiff.photometric_ == 3) {
        const std::uint32_t count = 3u << tiff.bitsPerSample_;
        std::vector<std::uint32_t> map;
        for (std::uint32_t i = 0; i < count; ++i) {
            map.push_back(GetLe16(written.data() + tiff.colorMapOffset_ + 2 * i));
        }
        entries.push_back({320, 3, map});
    }
    auto valueBytes = [](const Entry& e) {
        Bytes bytes;
        for (std::uint32_t v : e.values) {
            const std::size_t at = bytes.size();
            bytes.resize(at + (e.type == 3 ? 2 : 4));
            e.type == 3 ? PutLe16(bytes.data() + at, v) : PutLe32(bytes.data() + at, v);
        }
        return bytes;
    };
    // Where everything goes: header, directory, values that do not fit an entry, strips.
    std::size_t at = 8 + 2 + 12 * entries.size() + 4;
    std::vector<std::size_t> valueAt(entries.size(), 0);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::size_t size = valueBytes(entries[i]).size();
        if (size > 4) {
            valueAt[i] = at;
            at += size + size % 2;
        }
    }
    for (std::uint32_t s = 0; s < strips; ++s) {
        entries[5].values[s] = static_cast<std::uint32_t>(at);
        at += tiff.stripByteCounts_[s];
    }
    Bytes file(at, 0);
    file[0] = file[1] = 'I';
    file[2] = 42;
    PutLe32(file.data() + 4, 8);
    PutLe16(file.data() + 8, static_cast<std::uint32_t>(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        std::uint8_t* entry = file.data() + 10 + 12 * i;
        const Bytes values = valueBytes(entries[i]);
        PutLe16(entry, entries[i].tag);
        PutLe16(entry + 2, entries[i].type);
        PutLe32(entry + 4, static_cast<std::uint32_t>(entries[i].values.size()));
        if (values.size() <= 4) {
            std::memcpy(entry + 8, values.data(), values.size());
        } else {
            PutLe32(entry + 8, static_cast<std::uint32_t>(valueAt[i]));
            std::memcpy(file.data() + valueAt[i], values.data(), values.size());
        }
    }
    for (std::uint32_t s = 0; s < strips; ++s) {
        std::memcpy(file.data() + entries[5].values[s], written.data() + tiff.stripOffsets_[s],
                    tiff.stripByteCounts_[s]);
    }
    return file;
}

std::vector<std::uint8_t> MetafileDrawing(int headerOffset) {
    MetafileWriter drawing;
    drawing.SolidPen(0x000000, 1);
    drawing.SolidBrush(0x00FF00);
    drawing.Rectangle(0, 0, 400, 400);
    drawing.Ellipse(100, 500, 700, 780);
    return headerOffset == 0 ? drawing.Plain() : drawing.Placeable(0, 0, 800, 800, headerOffset);
}

} // namespace

TEST(Truncated, BitmapFilesGiveTheirReadErrorsAndCodedOnesStopWhereTheirStreamEnds) {
    for (const BitmapCase& c : BitmapCases()) {
        SCOPED_TRACE(c.name);
        ImageError error;
        const DibBlock whole = ReadFromMemory(c.file, error);
        ASSERT_FALSE(whole.Empty()) << error.text;
        for (std::size_t length = 0; length < c.file.size(); ++length) {
            SCOPED_TRACE(length);
            ImageError cutError;
            const DibBlock dib = ReadFromMemory(Cut(c.file, length), cutError);
            const char* text = length < kFileHeaderSize                    ? texts::kNotDib
                               : length < kFileHeaderSize + c.headerLength ? texts::kReadFileError
                                                                           : texts::kReadError;
            if (c.coded && length >= kFileHeaderSize + c.headerLength) {
                ASSERT_FALSE(dib.Empty()) << cutError.text;
                EXPECT_TRUE(ReadAsFarAsItGoes(dib, whole));
                continue;
            }
            EXPECT_TRUE(dib.Empty());
            EXPECT_EQ(cutError.code, kImageReadError);
            EXPECT_EQ(cutError.text, text);
        }
    }
}

TEST(Truncated, GifFilesFailUnlessEveryPixelWasRead) {
    const std::vector<std::pair<std::string, Bytes>> files = {
        {"2 colours", ImageMagickFile(MakePicture(2, 21, 9), "", "GIF")},
        {"16 colours", ImageMagickFile(MakePicture(16, 21, 9), "", "GIF")},
        {"256 colours", ImageMagickFile(MakePicture(0, 17, 11), "-colors 256", "GIF")},
        {"interlaced", ImageMagickFile(MakePicture(16, 14, 12), "-interlace GIF", "GIF")},
    };
    for (const auto& [name, file] : files) {
        SCOPED_TRACE(name);
        CGif reference;
        MemorySource source(file);
        const DibBlock whole = reference.ReadGif(source);
        ASSERT_FALSE(whole.Empty()) << reference.LastErrorText();
        int failures = 0;
        for (std::size_t length = 0; length < file.size(); ++length) {
            SCOPED_TRACE(length);
            const Bytes cut = Cut(file, length);
            MemorySource cutSource(cut);
            CGif gif;
            const DibBlock dib = gif.ReadGif(cutSource);
            if (!dib.Empty()) {
                // Only the bytes after the image's end code are gone.
                EXPECT_TRUE(SameBlock(dib, whole));
                EXPECT_FALSE(gif.endedEarly_);
                continue;
            }
            ++failures;
            // A GIF that cannot be read, never one of another format; no text when the image
            // data themselves end early.
            if (length >= 3) {
                EXPECT_NE(gif.FormatFlag(), CGif::kNotAGif);
            }
            EXPECT_TRUE(gif.FormatFlag() == CGif::kUnreadableGif || gif.LastErrorText().empty())
                << gif.LastErrorText();
        }
        EXPECT_GT(failures, static_cast<int>(file.size()) / 2);
    }
}

TEST(Truncated, TiffFilesFailUnlessEveryPixelWasRead) {
    const std::vector<std::pair<std::string, Bytes>> files = {
        {"24 bits", ImageMagickFile(MakePicture(0, 13, 7), "-depth 8", "TIFF")},
        {"palette, strips of 2 rows",
         ImageMagickFile(MakePicture(16, 13, 7),
                         "-type Palette -depth 8 -define tiff:rows-per-strip=2", "TIFF")},
        {"24 bits LZW", ImageMagickFile(MakePicture(0, 19, 9), "-depth 8 -compress lzw", "TIFF")},
        {"palette LZW",
         ImageMagickFile(MakePicture(200, 19, 9), "-type Palette -depth 8 -compress lzw", "TIFF")},
    };
    for (const auto& [name, written] : files) {
        SCOPED_TRACE(name);
        const Bytes file = DirectoryFirst(written);
        CTiff reference;
        MemorySource source(file);
        const DibBlock whole = reference.ReadTiff(source);
        ASSERT_FALSE(whole.Empty()) << reference.ErrorText();
        int shortPixels = 0;
        for (std::size_t length = 0; length < file.size(); ++length) {
            SCOPED_TRACE(length);
            const Bytes cut = Cut(file, length);
            MemorySource cutSource(cut);
            CTiff tiff;
            const DibBlock dib = tiff.ReadTiff(cutSource);
            if (!dib.Empty()) {
                EXPECT_TRUE(SameBlock(dib, whole));
                EXPECT_EQ(tiff.ErrorCode(), 1);
                continue;
            }
            // Not a TIFF file (the directory or its values are cut), or short pixels.
            EXPECT_TRUE(tiff.ErrorCode() == kImageUnknownFormat ||
                        tiff.ErrorCode() == kImageShortPixels)
                << tiff.ErrorCode();
            if (tiff.ErrorCode() == kImageShortPixels) {
                ++shortPixels;
                EXPECT_EQ(tiff.ErrorText(), "Bad tiff file");
            }
            EXPECT_FALSE(tiff.paletteMade_);
        }
        EXPECT_GT(shortPixels, 0);
    }
}

TEST(Truncated, TheLoaderChainGivesADefinedFailureOrTheWholePicture) {
    ImageError error;
    const std::vector<Bytes> files = {
        WriteToMemory(PatternDib(7, 5, 8), kKindWindows, error),
        ImageMagickFile(MakePicture(16, 9, 5), "", "GIF"),
        DirectoryFirst(ImageMagickFile(MakePicture(0, 9, 5), "-depth 8 -compress lzw", "TIFF")),
    };
    const std::set<int> failures = {kImageReadError, kImageUnknownFormat, kImageShortPixels};
    for (const Bytes& file : files) {
        MemorySource source(file);
        const PictureResult whole = ReadPicture(source);
        ASSERT_FALSE(whole.dib.Empty());
        for (std::size_t length = 0; length < file.size(); ++length) {
            SCOPED_TRACE(length);
            const Bytes cut = Cut(file, length);
            MemorySource cutSource(cut);
            const PictureResult result = ReadPicture(cutSource);
            if (result.dib.Empty()) {
                EXPECT_EQ(failures.count(result.error.code), 1u) << result.error.code;
                EXPECT_EQ(result.format, PictureFormat::kNone);
            } else {
                EXPECT_EQ(result.format, whole.format);
                EXPECT_TRUE(SameBlock(result.dib, whole.dib));
            }
        }
    }
}

TEST(Truncated, MetafileHeadersAreFoundOnlyWhenTheirBytesAreThere) {
    struct Case {
        int headerOffset; // 0: a plain metafile
        bool placeable;
    };
    for (Case c : {Case{0, false}, Case{22, true}, Case{32, true}}) {
        SCOPED_TRACE(c.headerOffset);
        const Bytes file = MetafileDrawing(c.headerOffset);
        const std::optional<MetafileLayout> whole = LocateMetafileHeader(file);
        ASSERT_TRUE(whole);
        EXPECT_EQ(whole->placeable, c.placeable);
        EXPECT_EQ(whole->headerOffset, static_cast<std::uint32_t>(c.headerOffset));
        EXPECT_EQ(2u * whole->sizeInWords, file.size() - c.headerOffset);
        const std::size_t needed = c.headerOffset + kMetaHeaderSize;
        for (std::size_t length = 0; length <= file.size(); ++length) {
            SCOPED_TRACE(length);
            const Bytes cut = Cut(file, length);
            const std::optional<MetafileLayout> layout = LocateMetafileHeader(cut);
            if (length < needed) {
                EXPECT_FALSE(layout);
                continue;
            }
            ASSERT_TRUE(layout);
            EXPECT_EQ(layout->placeable, whole->placeable);
            EXPECT_EQ(layout->headerOffset, whole->headerOffset);
            EXPECT_EQ(layout->sizeInWords, whole->sizeInWords);
            EXPECT_TRUE(IsMetaHeader(std::span(cut).subspan(layout->headerOffset)));
        }
    }
}
