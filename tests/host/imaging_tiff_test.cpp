// TIFF files written by ImageMagick, and changed by hand, through CTiff and the reader chain.
#include "imaging/portable/picture_reader.h"
#include "imaging/portable/tiff_lzw.h"
#include "imaging/portable/tiff_reader.h"
#include "imaging_test_support.h"

#include <gtest/gtest.h>

using namespace korva;
using namespace imagingtest;

namespace {

using Bytes = std::vector<std::uint8_t>;

DibBlock Read(const Bytes& file, CTiff& tiff) {
    MemorySource source(file);
    return tiff.ReadTiff(source);
}

// A picture of greys only (r = g = b), for grey and bilevel files.
Picture Greys(int levels, int width = 21, int height = 9) {
    Picture picture = MakePicture(0, width, height);
    for (Rgb& p : picture.pixels) {
        int level = p.r * levels / 256;
        auto value = static_cast<std::uint8_t>(level * 255 / (levels - 1));
        p = {value, value, value};
    }
    return picture;
}

// Where the value of a directory entry lies, for files changed by hand.
std::size_t EntryOffset(const Bytes& file, std::uint16_t tag) {
    const std::size_t directory = GetLe32(file.data() + 4);
    const std::uint16_t count = GetLe16(file.data() + directory);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = directory + 2 + 12 * i;
        if (GetLe16(file.data() + entry) == tag) {
            return entry;
        }
    }
    return 0;
}

} // namespace

TEST(Tiff, BigEndianFilesAreNotRead) {
    Bytes file = ImageMagickFile(MakePicture(0), "-depth 8 -define tiff:endian=msb", "TIFF");
    ASSERT_EQ(file[0], 'M');
    CTiff tiff;
    EXPECT_TRUE(Read(file, tiff).Empty());
    EXPECT_EQ(tiff.ErrorCode(), -3);
    EXPECT_EQ(tiff.ErrorText(), "This isn't a TIFF file");
}

TEST(Tiff, EightBitGreyRampWithItsPalette) {
    const Picture picture = Greys(256);
    CTiff tiff;
    DibBlock dib = Read(ImageMagickFile(picture, "-colorspace Gray -depth 8", "TIFF"), tiff);
    ASSERT_FALSE(dib.Empty()) << tiff.ErrorText();
    EXPECT_EQ(tiff.photometric_, 1u);
    EXPECT_EQ(dib.Header().bitCount, 8);
    EXPECT_TRUE(tiff.paletteMade_);
    std::vector<RgbQuad> table = dib.ColourTable();
    ASSERT_EQ(table.size(), 256u);
    EXPECT_EQ(table[100], (RgbQuad{100, 100, 100, 0}));
    EXPECT_TRUE(SamePixels(picture, dib));
    EXPECT_EQ(tiff.ErrorCode(), 1);
}

TEST(Tiff, OneBitBlackIsZeroAndWhiteIsZero) {
    const Picture picture = Greys(2, 35, 7);
    for (bool whiteIsZero : {false, true}) {
        SCOPED_TRACE(whiteIsZero);
        const std::string options = std::string("-monochrome -depth 1") +
                                    (whiteIsZero ? " -define quantum:polarity=min-is-white" : "");
        CTiff tiff;
        DibBlock dib = Read(ImageMagickFile(picture, options, "TIFF"), tiff);
        ASSERT_FALSE(dib.Empty()) << tiff.ErrorText();
        EXPECT_EQ(tiff.photometric_, whiteIsZero ? 0u : 1u);
        EXPECT_EQ(dib.Header().bitCount, 1);
        std::vector<RgbQuad> table = dib.ColourTable();
        ASSERT_EQ(table.size(), 2u);
        EXPECT_EQ(table[0].red, whiteIsZero ? 255 : 0);
        EXPECT_EQ(table[1].red, whiteIsZero ? 0 : 255);
        EXPECT_EQ(tiff.paletteMade_, !whiteIsZero);
        EXPECT_TRUE(SamePixels(picture, dib));
    }
}

TEST(Tiff, TrueColourIsStoredBlueFirstWithoutPalette) {
    const Picture picture = MakePicture(0, 19, 8);
    CTiff tiff;
    DibBlock dib = Read(ImageMagickFile(picture, "-depth 8", "TIFF"), tiff);
    ASSERT_FALSE(dib.Empty()) << tiff.ErrorText();
    EXPECT_EQ(dib.Header().bitCount, 24);
    EXPECT_TRUE(dib.ColourTable().empty());
    EXPECT_FALSE(tiff.paletteMade_);
    EXPECT_TRUE(SamePixels(picture, dib));
    // The first pixel of the top row, bytes as stored: blue, green, red.
    const std::uint8_t* top = dib.Row(7);
    EXPECT_EQ(top[0], picture.At(0, 0).b);
    EXPECT_EQ(top[2], picture.At(0, 0).r);
}

TEST(Tiff, PaletteColourTakesTheHighByteOfTheColourMap) {
    for (int colours : {16, 256}) {
        SCOPED_TRACE(colours);
        const Picture picture = MakePicture(colours, 33, 10);
        CTiff tiff;
        DibBlock dib = Read(ImageMagickFile(picture, "-type Palette -depth 8", "TIFF"), tiff);
        ASSERT_FALSE(dib.Empty()) << tiff.ErrorText();
        EXPECT_EQ(tiff.photometric_, 3u);
        EXPECT_EQ(dib.Header().bitCount, colours == 16 ? 4 : 8);
        EXPECT_TRUE(tiff.paletteMade_);
        EXPECT_TRUE(SamePixels(picture, dib));
    }
    // 16-bit map values whose two bytes differ: the high byte is the colour.
    Bytes file = ImageMagickFile(MakePicture(16, 8, 3), "-type Palette -depth 8", "TIFF");
    const std::uint32_t map = GetLe32(file.data() + EntryOffset(file, 320) + 8);
    PutLe16(file.data() + map, 0xC040);              // red of entry 0
    PutLe16(file.data() + map + 2 * 16 * 2, 0x2A7F); // blue of entry 0
    CTiff tiff;
    DibBlock dib = Read(file, tiff);
    ASSERT_FALSE(dib.Empty());
    EXPECT_EQ(dib.ColourTable()[0].red, 0xC0);
    EXPECT_EQ(dib.ColourTable()[0].blue, 0x2A);
}

TEST(Tiff, SeveralStripsWithAShorterLastOne) {
    const Picture picture = MakePicture(0, 17, 10);
    CTiff tiff;
    DibBlock dib =
        Read(ImageMagickFile(picture, "-depth 8 -define tiff:rows-per-strip=3", "TIFF"), tiff);
    ASSERT_FALSE(dib.Empty()) << tiff.ErrorText();
    EXPECT_EQ(tiff.stripOffsets_.size(), 4u);
    EXPECT_EQ(tiff.rowsPerStrip_, 3u);
    EXPECT_TRUE(SamePixels(picture, dib));
}

TEST(Tiff, LzwStripsWithAndWithoutPrediction) {
    struct Case {
        Picture picture;
        const char* options;
    };
    const Case cases[] = {
        {MakePicture(0, 40, 23), "-depth 8 -compress lzw"},
        {MakePicture(0, 40, 23), "-depth 8 -compress lzw -define tiff:predictor=1"},
        {Greys(256, 31, 12),
         "-colorspace Gray -depth 8 -compress lzw -define tiff:rows-per-strip=5"},
        {MakePicture(16, 31, 12), "-type Palette -depth 8 -compress lzw"},
        {MakePicture(0, 300, 200), "-depth 8 -compress lzw"}, // tables full, codes of 12 bits
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        CTiff tiff;
        DibBlock dib = Read(ImageMagickFile(c.picture, c.options, "TIFF"), tiff);
        ASSERT_FALSE(dib.Empty()) << tiff.ErrorText();
        EXPECT_EQ(tiff.compression_, 5u);
        EXPECT_TRUE(SamePixels(c.picture, dib));
    }
}

TEST(Tiff, StripsThatEndEarlyOrLieOutsideTheFile) {
    const Picture picture = MakePicture(0, 17, 10);
    Bytes file = ImageMagickFile(picture, "-depth 8", "TIFF");
    {
        // Pixels end before the last row (the directory comes after them in this file).
        Bytes cut = file;
        PutLe32(cut.data() + EntryOffset(cut, 273) + 8,
                static_cast<std::uint32_t>(cut.size() - 100));
        CTiff tiff;
        EXPECT_TRUE(Read(cut, tiff).Empty());
        EXPECT_EQ(tiff.ErrorCode(), -6);
        EXPECT_EQ(tiff.ErrorText(), "Bad tiff file");
    }
    {
        Bytes beyond = file;
        PutLe32(beyond.data() + EntryOffset(beyond, 273) + 8, 0x7FFFFF00);
        CTiff tiff;
        EXPECT_TRUE(Read(beyond, tiff).Empty());
        EXPECT_EQ(tiff.ErrorCode(), -6);
    }
    {
        Bytes lost = file;
        PutLe32(lost.data() + 4, 0x7FFFFF00); // the directory
        CTiff tiff;
        EXPECT_TRUE(Read(lost, tiff).Empty());
        EXPECT_EQ(tiff.ErrorCode(), -3);
    }
    {
        // The strip's LZW data end early.
        Bytes lzw = ImageMagickFile(picture, "-depth 8 -compress lzw", "TIFF");
        PutLe32(lzw.data() + EntryOffset(lzw, 279) + 8, 20);
        CTiff tiff;
        EXPECT_TRUE(Read(lzw, tiff).Empty());
        EXPECT_EQ(tiff.ErrorCode(), -6);
    }
}

TEST(Tiff, OtherCompressionsAreNotRead) {
    CTiff tiff;
    EXPECT_TRUE(
        Read(ImageMagickFile(MakePicture(0), "-depth 8 -compress zip", "TIFF"), tiff).Empty());
    EXPECT_EQ(tiff.ErrorCode(), -3);
    EXPECT_EQ(tiff.ErrorText(), "");

    // The loader goes on to the GIF reader, which refuses the file; what the user is told is
    // the TIFF reader's judgement, not the GIF reader's "not a gif".
    Bytes zip = ImageMagickFile(MakePicture(0), "-depth 8 -compress zip", "TIFF");
    MemorySource source(zip);
    PictureResult result = ReadPicture(source);
    EXPECT_TRUE(result.dib.Empty());
    EXPECT_EQ(result.error.code, kImageUnknownFormat);
    EXPECT_EQ(result.error.text, "Formato non supportato");
}

TEST(Tiff, TheVariantMarkReadsLikeII) {
    const Picture picture = MakePicture(0, 9, 5);
    Bytes file = ImageMagickFile(picture, "-depth 8", "TIFF");
    file[0] = 'n';
    CTiff tiff;
    DibBlock dib = Read(file, tiff);
    EXPECT_EQ(tiff.byteOrder_, 0x496E);
    EXPECT_TRUE(SamePixels(picture, dib));
}

TEST(Tiff, LzwDecoderStopsAtBadCodesAndAtTheEndOfTheOutput) {
    // Codes 256 (clear), 'A', 'B', 258 ("AB"), 257 (end), 9 bits each, most significant first.
    auto pack = [](std::initializer_list<int> codes) {
        Bytes bytes;
        std::uint32_t bits = 0;
        int count = 0;
        for (int code : codes) {
            bits = (bits << 9) | static_cast<std::uint32_t>(code);
            count += 9;
            while (count >= 8) {
                bytes.push_back(static_cast<std::uint8_t>(bits >> (count - 8)));
                count -= 8;
            }
        }
        if (count > 0) {
            bytes.push_back(static_cast<std::uint8_t>(bits << (8 - count)));
        }
        return bytes;
    };
    Bytes out(8, 0);
    EXPECT_EQ(DecodeTiffLzw(pack({256, 'A', 'B', 258, 257}), out), 4u);
    EXPECT_EQ(std::string(out.begin(), out.begin() + 4), "ABAB");
    Bytes two(2, 0);
    EXPECT_EQ(DecodeTiffLzw(pack({256, 'A', 'B', 258, 257}), two), 2u);
    EXPECT_EQ(DecodeTiffLzw(pack({256, 'A', 300, 'B', 257}), out), 1u); // beyond the table
    EXPECT_EQ(DecodeTiffLzw(pack({256, 260}), out), 0u);
    EXPECT_EQ(DecodeTiffLzw({}, out), 0u);
}

TEST(Tiff, TheLoaderChainReadsTiffAfterTheBitmapReader) {
    const Picture picture = MakePicture(0, 9, 5);
    Bytes file = ImageMagickFile(picture, "-depth 8", "TIFF");
    MemorySource source(file);
    PictureResult result = ReadPicture(source);
    EXPECT_EQ(result.format, PictureFormat::kTiff);
    EXPECT_TRUE(SamePixels(picture, result.dib));

    // A TIFF that cannot be read stops the chain with the TIFF reader's code.
    Bytes lost = file;
    PutLe32(lost.data() + EntryOffset(lost, 273) + 8, 0x7FFFFF00);
    MemorySource lostSource(lost);
    PictureResult failed = ReadPicture(lostSource);
    EXPECT_EQ(failed.error.code, -6);
    EXPECT_EQ(failed.error.text, "Bad tiff file");
}

TEST(Tiff, FilesAreOpenedByName) {
    ScratchDir scratch;
    CTiff missing;
    EXPECT_TRUE(missing.ReadTiff(scratch.Path("missing.tif")).Empty());
    EXPECT_EQ(missing.ErrorCode(), -1);
    EXPECT_EQ(missing.ErrorText(), "FILE ERROR");

    const Picture picture = MakePicture(0, 6, 4);
    WriteWholeFile(scratch.Path("picture.tif"), ImageMagickFile(picture, "-depth 8", "TIFF"));
    CTiff tiff;
    EXPECT_TRUE(SamePixels(picture, tiff.ReadTiff(scratch.Path("picture.tif"))));
}
