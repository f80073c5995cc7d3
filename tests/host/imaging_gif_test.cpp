// GIF files, from ImageMagick and made by hand, through CGif and the loader's reader chain.
#include "imaging/portable/gif_reader.h"
#include "imaging/portable/picture_reader.h"
#include "imaging_test_support.h"

#include <gtest/gtest.h>

using namespace korva;
using namespace imagingtest;

namespace {

using Bytes = std::vector<std::uint8_t>;

DibBlock Read(const Bytes& file, CGif& gif) {
    MemorySource source(file);
    return gif.ReadGif(source);
}

// Codes of given widths packed least significant bit first into data sub-blocks.
Bytes SubBlocks(const std::vector<std::pair<int, int>>& codes, bool terminate = true) {
    Bytes data;
    std::uint32_t bits = 0;
    int count = 0;
    for (auto [code, width] : codes) {
        bits |= static_cast<std::uint32_t>(code) << count;
        count += width;
        while (count >= 8) {
            data.push_back(static_cast<std::uint8_t>(bits));
            bits >>= 8;
            count -= 8;
        }
    }
    if (count > 0) {
        data.push_back(static_cast<std::uint8_t>(bits));
    }
    Bytes blocks;
    for (std::size_t i = 0; i < data.size(); i += 255) {
        std::size_t n = std::min<std::size_t>(255, data.size() - i);
        blocks.push_back(static_cast<std::uint8_t>(n));
        blocks.insert(blocks.end(), data.begin() + static_cast<long>(i),
                      data.begin() + static_cast<long>(i + n));
    }
    if (terminate) {
        blocks.push_back(0);
    }
    return blocks;
}

// A GIF of width × height with a global table of 2^tableBits greys (none when 0), one
// image whose data are `data` after the code-size byte.
Bytes HandMadeGif(int width, int height, int tableBits, int codeSize, const Bytes& data,
                  std::uint8_t imagePacked = 0, const Bytes& localTable = {}) {
    Bytes file = {'G', 'I', 'F', '8', '7', 'a'};
    file.insert(file.end(),
                {static_cast<std::uint8_t>(width), 0, static_cast<std::uint8_t>(height), 0});
    file.push_back(tableBits > 0 ? static_cast<std::uint8_t>(0x80 | (tableBits - 1)) : 0);
    file.insert(file.end(), {0, 0});
    for (int i = 0; tableBits > 0 && i < (1 << tableBits); ++i) {
        auto level = static_cast<std::uint8_t>(i * 255 / ((1 << tableBits) - 1));
        file.insert(file.end(), {level, level, level});
    }
    file.insert(file.end(), {0x2C, 0, 0, 0, 0, static_cast<std::uint8_t>(width), 0,
                             static_cast<std::uint8_t>(height), 0, imagePacked});
    file.insert(file.end(), localTable.begin(), localTable.end());
    file.push_back(static_cast<std::uint8_t>(codeSize));
    file.insert(file.end(), data.begin(), data.end());
    file.push_back(0x3B);
    return file;
}

// Offset of the image separator of a GIF, after its table and extensions.
std::size_t ImageStart(const Bytes& file) {
    std::size_t at = 13;
    if (file[10] & 0x80) {
        at += 3u << ((file[10] & 7) + 1);
    }
    while (file[at] == 0x21) {
        at += 2;
        while (file[at] != 0) {
            at += file[at] + 1u;
        }
        ++at;
    }
    return at;
}

// The order in which an interlaced image stores its rows.
std::vector<int> InterlacedRows(int height) {
    std::vector<int> rows;
    for (auto [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}}) {
        for (int y = start; y < height; y += step) {
            rows.push_back(y);
        }
    }
    return rows;
}

} // namespace

TEST(Gif, TwoSixteenAndTwoHundredFiftySixColoursGiveOneFourAndEightBits) {
    struct Case {
        int colours;
        int bits;
    };
    for (Case c : {Case{2, 1}, Case{16, 4}, Case{256, 8}}) {
        SCOPED_TRACE(c.colours);
        const Picture picture = MakePicture(c.colours, 37, 19);
        CGif gif;
        DibBlock dib = Read(ImageMagickFile(picture, "", "GIF"), gif);
        ASSERT_FALSE(dib.Empty()) << gif.LastErrorText();
        EXPECT_EQ(dib.Header().bitCount, c.bits);
        EXPECT_EQ(dib.ColourTable().size(), static_cast<std::size_t>(1 << c.bits));
        EXPECT_TRUE(SamePixels(picture, dib));
    }
}

TEST(Gif, TablesOfOtherSizesGoToTheNextDepth) {
    for (int colours : {4, 8, 32, 64, 128}) {
        SCOPED_TRACE(colours);
        const Picture picture = MakePicture(colours, 30, 11);
        CGif gif;
        Bytes file = ImageMagickFile(picture, "", "GIF");
        ASSERT_EQ(file[10] & 7, std::countr_zero(static_cast<unsigned>(colours)) - 1)
            << "table size";
        DibBlock dib = Read(file, gif);
        ASSERT_FALSE(dib.Empty());
        EXPECT_EQ(dib.Header().bitCount, colours <= 16 ? 4 : 8);
        EXPECT_TRUE(SamePixels(picture, dib));
    }
}

TEST(Gif, ExtensionsBeforeTheImageAreReadPast) {
    const Picture picture = MakePicture(16, 25, 9);
    Bytes plain = ImageMagickFile(picture, "", "GIF");
    // Graphic control, comment, application and plain-text extensions before the image.
    const Bytes extensions = {
        0x21, 0xF9, 4,    0x05, 10,  0,   0,   0,    0x21, 0xFE, 5,    'h', 'e',
        'l',  'l',  'o',  3,    'a', 'b', 'c', 0,    0x21, 0xFF, 11,   'N', 'E',
        'T',  'S',  'C',  'A',  'P', 'E', '2', '.',  '0',  3,    1,    0,   0,
        0,    0x21, 0x01, 12,   0,   0,   0,   0,    8,    0,    8,    0,   8,
        8,    1,    0,    2,    'h', 'i', 0,   0x21, 0x99, 1,    0x2C, 0, // an unknown label, whose
                                                                          // data hold an image
                                                                          // separator
    };
    Bytes extended = plain;
    extended.insert(extended.begin() + static_cast<long>(ImageStart(plain)), extensions.begin(),
                    extensions.end());
    extended[4] = '9';
    // Application, comment and graphic-control extensions are all there.
    auto has = [&](std::uint8_t label) {
        for (std::size_t i = 13; i + 1 < ImageStart(extended); ++i) {
            if (extended[i] == 0x21 && extended[i + 1] == label) {
                return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(has(0xFF));
    EXPECT_TRUE(has(0xFE));
    EXPECT_TRUE(has(0xF9));
    CGif a, b;
    DibBlock fromPlain = Read(plain, a);
    DibBlock fromExtended = Read(extended, b);
    EXPECT_TRUE(SamePicture(fromPlain, fromExtended));
    EXPECT_TRUE(SamePixels(picture, fromExtended));
}

TEST(Gif, ALocalColourTableIsReadPastAndTheGlobalOneUsed) {
    const Picture picture = MakePicture(16, 25, 9);
    Bytes file = ImageMagickFile(picture, "", "GIF");
    const std::size_t image = ImageStart(file);
    ASSERT_EQ(file[image], 0x2C);
    file[image + 9] |= 0x80 | 3; // a local table of 16 entries
    file.insert(file.begin() + static_cast<long>(image) + 10, 48, 0x77); // all one grey
    CGif gif;
    EXPECT_TRUE(SamePixels(picture, Read(file, gif)));
}

TEST(Gif, InterlacedLinesStayInStoredOrder) {
    const Picture picture = MakePicture(256, 20, 21);
    CGif gif;
    DibBlock dib = Read(ImageMagickFile(picture, "-interlace GIF", "GIF"), gif);
    ASSERT_FALSE(dib.Empty());
    EXPECT_TRUE(gif.interlaced_);
    EXPECT_TRUE(SamePixels(picture, dib, InterlacedRows(21)));
}

TEST(Gif, HeaderFailuresAndTheirFormatFlags) {
    struct Case {
        Bytes file;
        const char* text;
        int flag;
    };
    const Bytes screen = {'G',  'I', 'F', '8', '9', 'a', 4,   0,   4,  0,
                          0x80, 0,   0,   0,   0,   0,   255, 255, 255};
    Bytes shortDescriptor = screen;
    shortDescriptor.insert(shortDescriptor.end(), {0x2C, 0, 0, 0, 0, 4});
    Bytes noCodeSize = screen;
    noCodeSize.insert(noCodeSize.end(), {0x2C, 0, 0, 0, 0, 4, 0, 4, 0, 0});
    Bytes onlyTrailer = screen;
    onlyTrailer.push_back(0x3B);
    const Case cases[] = {
        {Bytes(12, 'G'), "Error reading GIF header", CGif::kUnreadableGif},
        {{'G', 'I', 'F'}, "Error reading GIF header", CGif::kUnreadableGif},
        {Bytes{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, "This is not a gif file",
         CGif::kNotAGif},
        {screen, "This File doesn't contain an image", CGif::kUnreadableGif},
        {Bytes(screen.begin(), screen.begin() + 13), "This File doesn't contain an image",
         CGif::kUnreadableGif},
        {onlyTrailer, "This File doesn't contain an image", CGif::kUnreadableGif},
        {shortDescriptor, "Error reading image block", CGif::kUnreadableGif},
        {noCodeSize, "Bad initial code size", CGif::kUnreadableGif},
    };
    for (const Case& c : cases) {
        CGif gif;
        EXPECT_TRUE(Read(c.file, gif).Empty()) << c.text;
        EXPECT_EQ(gif.LastErrorText(), c.text);
        EXPECT_EQ(gif.FormatFlag(), c.flag) << c.text;
        // The flag is the one error's code seen as the loader knows it.
        EXPECT_EQ(gif.Error().code,
                  c.flag == CGif::kNotAGif ? kImageUnknownFormat : kImageReadError)
            << c.text;
    }
}

TEST(Gif, CorruptImageData) {
    // 4×2 with 4 greys (code size 2: clear 4, end 5, first free 6, 3-bit codes).
    // After the entry that fills the 3-bit table the codes are 4 bits wide.
    const std::vector<std::pair<int, int>> good = {{4, 3}, {0, 3}, {1, 3}, {6, 3},
                                                   {2, 4}, {3, 4}, {9, 4}, {5, 4}};
    CGif reference;
    DibBlock whole = Read(HandMadeGif(4, 2, 2, 2, SubBlocks(good)), reference);
    ASSERT_FALSE(whole.Empty());
    EXPECT_EQ(reference.badCodes_, 0);
    // Pixels 0 1 0 1 / 2 3 2 3 by the decoder's rules.
    EXPECT_EQ(whole.Pixel(0, 0).red, 0);
    EXPECT_EQ(whole.Pixel(1, 0).red, 85);
    EXPECT_EQ(whole.Pixel(3, 0).red, 85);
    EXPECT_EQ(whole.Pixel(0, 1).red, 170);
    EXPECT_EQ(whole.Pixel(3, 1).red, 255);

    {
        // A code size outside 2 to 9: no image and no text.
        CGif gif;
        EXPECT_TRUE(Read(HandMadeGif(4, 2, 2, 10, SubBlocks(good)), gif).Empty());
        EXPECT_EQ(gif.LastErrorText(), "");
        EXPECT_EQ(gif.FormatFlag(), 0);
    }
    {
        // The file ends inside the image data: a read failure.
        Bytes cut = HandMadeGif(4, 2, 2, 2, SubBlocks(good));
        cut.resize(cut.size() - 4);
        CGif gif;
        EXPECT_TRUE(Read(cut, gif).Empty());
    }
    {
        // The data end with a zero-length sub-block before the end code: what was read stays.
        CGif gif;
        DibBlock dib =
            Read(HandMadeGif(4, 2, 2, 2, SubBlocks({{4, 3}, {0, 3}, {1, 3}, {6, 3}})), gif);
        ASSERT_FALSE(dib.Empty());
        EXPECT_TRUE(gif.endedEarly_);
        EXPECT_EQ(dib.Pixel(1, 0).red, 85);
        EXPECT_EQ(dib.Pixel(3, 0).red, 85);
        EXPECT_EQ(dib.Pixel(0, 1).red, 0); // never written
    }
    {
        // Codes far beyond the table are counted and decoded without reading outside it.
        CGif gif;
        DibBlock dib = Read(
            HandMadeGif(4, 2, 2, 2, SubBlocks({{4, 3}, {1, 3}, {7, 3}, {7, 3}, {15, 4}, {5, 4}})),
            gif);
        ASSERT_FALSE(dib.Empty());
        EXPECT_GE(gif.badCodes_, 2);
        EXPECT_EQ(dib.Pixel(0, 0).red, 85);
    }
    {
        // More lines than the height: the extra ones are dropped.
        const std::vector<std::pair<int, int>> codes = {{4, 3}, {3, 3}, {3, 3}, {3, 3},
                                                        {3, 4}, {3, 4}, {5, 4}};
        CGif gif;
        DibBlock dib = Read(HandMadeGif(1, 2, 2, 2, SubBlocks(codes)), gif);
        ASSERT_FALSE(dib.Empty());
        EXPECT_EQ(dib.Pixel(0, 0).red, 255);
        EXPECT_EQ(dib.Pixel(0, 1).red, 255);
    }
    {
        // A clear code right before the end, and clear codes in a row.
        CGif gif;
        DibBlock dib = Read(
            HandMadeGif(2, 1, 2, 2, SubBlocks({{4, 3}, {4, 3}, {2, 3}, {3, 3}, {4, 3}, {5, 3}})),
            gif);
        ASSERT_FALSE(dib.Empty());
        EXPECT_EQ(dib.Pixel(0, 0).red, 170);
        EXPECT_EQ(dib.Pixel(1, 0).red, 255);
    }
}

TEST(Gif, NineBitCodesStandForTheirLowByteInStringsToo) {
    // Code size 9 with a 256-colour table: clear 512, end 513, 10-bit codes. Bytes 300 and
    // 302 are 0x2C and 0x2E; code 514 repeats them. Lines of 12 pixels, the second short, so
    // that strings are written well inside a line and at its end.
    std::vector<std::pair<int, int>> codes = {{512, 10}, {300, 10}, {302, 10}};
    for (int i = 0; i < 5; ++i) {
        codes.push_back({514, 10});
    }
    codes.insert(codes.end(), {{302, 10}, {514, 10}, {513, 10}});
    CGif gif;
    DibBlock dib = Read(HandMadeGif(12, 2, 8, 9, SubBlocks(codes)), gif);
    ASSERT_FALSE(dib.Empty()) << gif.LastErrorText();
    const std::uint8_t* top = dib.Row(1);
    const std::uint8_t* bottom = dib.Row(0);
    Bytes pairs;
    for (int i = 0; i < 6; ++i) {
        pairs.insert(pairs.end(), {0x2C, 0x2E});
    }
    EXPECT_EQ(Bytes(top, top + 12), pairs);
    EXPECT_EQ(Bytes(bottom, bottom + 12), (Bytes{0x2E, 0x2C, 0x2E, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(Gif, WithoutAGlobalTableTheLocalOneOrGreysAreUsed) {
    const std::vector<std::pair<int, int>> codes = {{4, 3}, {0, 3}, {1, 3}, {2, 3}, {3, 4}, {5, 4}};
    {
        CGif gif;
        DibBlock dib = Read(HandMadeGif(4, 1, 0, 2, SubBlocks(codes)), gif);
        ASSERT_FALSE(dib.Empty());
        EXPECT_FALSE(gif.globalTable_);
        EXPECT_EQ(dib.Header().bitCount, 4);
        EXPECT_EQ(dib.Pixel(0, 0), (RgbQuad{0, 0, 0, 0}));
        EXPECT_EQ(dib.Pixel(3, 0), (RgbQuad{51, 51, 51, 0})); // grey 3 of 16
    }
    {
        const Bytes local = {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 9, 9};
        CGif gif;
        DibBlock dib = Read(HandMadeGif(4, 1, 0, 2, SubBlocks(codes), 0x81, local), gif);
        ASSERT_FALSE(dib.Empty());
        EXPECT_EQ(dib.Pixel(0, 0), (RgbQuad{0, 0, 255, 0}));
        EXPECT_EQ(dib.Pixel(2, 0), (RgbQuad{255, 0, 0, 0}));
    }
}

TEST(Gif, TheLoaderChainReadsGifAfterTheOtherReaders) {
    const Picture picture = MakePicture(16, 12, 7);
    Bytes file = ImageMagickFile(picture, "", "GIF");
    MemorySource source(file);
    PictureResult result = ReadPicture(source);
    EXPECT_EQ(result.format, PictureFormat::kGif);
    EXPECT_TRUE(result.makePalette);
    EXPECT_TRUE(SamePixels(picture, result.dib));

    // A short GIF is not "another format": the chain ends with a read failure.
    Bytes cut(file.begin(), file.begin() + 12);
    MemorySource shortSource(cut);
    PictureResult failed = ReadPicture(shortSource);
    EXPECT_TRUE(failed.dib.Empty());
    EXPECT_EQ(failed.error.code, kImageReadError);
    EXPECT_EQ(failed.error.text, "NOT DIB");

    Bytes cutLater(file.begin(), file.begin() + 20);
    MemorySource laterSource(cutLater);
    PictureResult later = ReadPicture(laterSource);
    EXPECT_EQ(later.error.code, kImageReadError);
    EXPECT_EQ(later.error.text, "This File doesn't contain an image");

    // Neither bitmap, TIFF nor GIF: "not my format" to the end, in the loader's own words.
    const std::string text = "plain words, longer than any header";
    Bytes other(text.begin(), text.end());
    MemorySource otherSource(other);
    PictureResult none = ReadPicture(otherSource);
    EXPECT_EQ(none.error.code, kImageUnknownFormat);
    EXPECT_EQ(none.error.text, "Invalid format");
}

TEST(Gif, ADamagedGifIsReportedByTheGifReaderNotByTheTiffReader) {
    const std::vector<std::pair<int, int>> good = {{4, 3}, {0, 3}, {1, 3}, {6, 3}, {2, 3}, {5, 3}};
    // Image data that end inside a sub-block, and a code size the decoder refuses: the GIF
    // reader records no text of its own for either.
    Bytes cut = HandMadeGif(4, 2, 2, 2, SubBlocks(good));
    cut.resize(cut.size() - 4);
    for (const Bytes& damaged : {cut, HandMadeGif(4, 2, 2, 10, SubBlocks(good))}) {
        MemorySource source(damaged);
        PictureResult result = ReadPicture(source);
        EXPECT_TRUE(result.dib.Empty());
        EXPECT_EQ(result.error.code, kImageReadError);
        EXPECT_EQ(result.error.text, "ERROR ON READ FROM FILE");
    }
    // A GIF without its image: the GIF reader's text.
    Bytes empty = HandMadeGif(4, 2, 2, 2, SubBlocks(good));
    empty.resize(13 + 12); // header and colour table only
    MemorySource emptySource(empty);
    PictureResult none = ReadPicture(emptySource);
    EXPECT_EQ(none.error.code, kImageReadError);
    EXPECT_EQ(none.error.text, "This File doesn't contain an image");
}

TEST(Gif, FilesAreOpenedByName) {
    ScratchDir scratch;
    CGif missing;
    EXPECT_TRUE(missing.ReadGif(scratch.Path("missing.gif")).Empty());
    EXPECT_EQ(missing.LastErrorText(), ""); // no text, and the flag unchanged
    EXPECT_EQ(missing.FormatFlag(), 0);

    const Picture picture = MakePicture(16, 6, 4);
    WriteWholeFile(scratch.Path("picture.gif"), ImageMagickFile(picture, "", "GIF"));
    CGif gif;
    EXPECT_TRUE(SamePixels(picture, gif.ReadGif(scratch.Path("picture.gif"))));
}
