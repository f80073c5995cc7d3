#include "imaging/portable/bitmap_file.h"
#include "imaging/portable/colour_reduction.h"
#include "imaging_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>

using namespace korva;
using namespace imagingtest;

namespace {

using Bytes = std::vector<std::uint8_t>;

// A Windows bitmap file written field by field, for the cases no writer of ours makes.
Bytes WindowsFile(std::uint32_t infoSize, std::int32_t width, std::int32_t height,
                  std::uint16_t bits, std::uint32_t compression, const Bytes& afterHeader) {
    Bytes file(14 + std::max<std::uint32_t>(infoSize, 40), 0);
    file[0] = 'B';
    file[1] = 'M';
    PutLe32(file.data() + 2, static_cast<std::uint32_t>(file.size() + afterHeader.size()));
    PutLe32(file.data() + 10, 14 + infoSize);
    BitmapInfoHeader h;
    h.size = infoSize;
    h.width = width;
    h.height = height;
    h.bitCount = bits;
    h.compression = compression;
    h.Store(file.data() + 14);
    file.insert(file.end(), afterHeader.begin(), afterHeader.end());
    return file;
}

void ExpectFailure(const Bytes& file, int code, const char* text) {
    ImageError error;
    DibBlock dib = ReadFromMemory(file, error);
    EXPECT_TRUE(dib.Empty());
    EXPECT_EQ(error.code, code);
    EXPECT_EQ(error.text, text);
}

std::array<RgbQuad, 16> SixteenGreys() {
    std::array<RgbQuad, 16> palette{};
    for (int i = 0; i < 16; ++i) {
        auto v = static_cast<std::uint8_t>(i * 17);
        palette[i] = {v, v, v, 0};
    }
    return palette;
}

} // namespace

TEST(BitmapFile, EveryKindRoundTripsAtEveryDepth) {
    for (std::uint16_t bits : {1, 4, 8, 24}) {
        for (int kind : {kKindWindows, kKindVariantR, kKindVariantRCoded, kKindVariantP}) {
            SCOPED_TRACE(::testing::Message() << bits << " bits, kind " << kind);
            DibBlock original = PatternDib(37, 11, bits, bits + kind);
            ImageError error;
            Bytes file = WriteToMemory(original, kind, error);
            ASSERT_FALSE(file.empty());
            const char* signatures[] = {"BM", "RM", "RM", "PM"};
            EXPECT_EQ(std::string(file.begin(), file.begin() + 2), signatures[kind]);
            EXPECT_EQ(GetLe32(file.data() + 2), original.Size() + 14);
            EXPECT_EQ(GetLe32(file.data() + 10), 14 + 40 + 4 * ColourCount(original.Header()));
            BitmapFileInfo info;
            DibBlock back = ReadFromMemory(file, error, &info);
            ASSERT_FALSE(back.Empty()) << error.text;
            EXPECT_TRUE(SamePicture(original, back));
            EXPECT_EQ(back.Size(), original.Size());
            EXPECT_EQ(back.Header().compression, kCompressionRgb);
            EXPECT_EQ(info.coded, kind >= kKindVariantRCoded);
            if (kind == kKindWindows || kind == kKindVariantR) {
                EXPECT_EQ(file.size(), original.Size() + 14);
            }
        }
    }
}

TEST(BitmapFile, VariantHeadersKeepTheirFields) {
    DibBlock dib = PatternDib(5, 3, 8);
    BitmapInfoHeader h = dib.Header();
    h.xPelsPerMeter = 2835;
    h.yPelsPerMeter = 3780;
    h.clrUsed = 200;
    h.clrImportant = 12;
    h.Store(dib.Data());

    ImageError error;
    DibBlock fromR = ReadFromMemory(WriteToMemory(dib, kKindVariantRCoded, error), error);
    ASSERT_FALSE(fromR.Empty());
    EXPECT_EQ(fromR.Header().xPelsPerMeter, 2835);
    EXPECT_EQ(fromR.Header().yPelsPerMeter, 3780);
    EXPECT_EQ(fromR.Header().clrUsed, 200u);
    EXPECT_EQ(fromR.Header().clrImportant, 12u);
    EXPECT_TRUE(SamePicture(dib, fromR));

    // Variant P has no colour-used fields: it carries the full table and reads back 0.
    Bytes p = WriteToMemory(dib, kKindVariantP, error);
    DibBlock fromP = ReadFromMemory(p, error);
    ASSERT_FALSE(fromP.Empty()) << error.text;
    EXPECT_EQ(fromP.Header().clrUsed, 0u);
    EXPECT_EQ(fromP.Header().clrImportant, 0u);
    EXPECT_EQ(fromP.Header().xPelsPerMeter, 2835);
    EXPECT_EQ(fromP.ColourTable().size(), 256u);
    EXPECT_TRUE(SameColours(dib, fromP));
}

TEST(BitmapFile, CodedFileLongerThanOnePieceDecodes) {
    DibBlock original = PatternDib(400, 300, 8); // coded body well above 0x7FFF bytes
    ImageError error;
    Bytes file = WriteToMemory(original, kKindVariantRCoded, error);
    ASSERT_GT(file.size(), 3u * 0x7FFF);
    EXPECT_TRUE(SamePicture(original, ReadFromMemory(file, error)));

    // A flat picture codes to a small part of its size.
    DibBlock flat = MakeDib(400, 300, 8);
    Bytes flatFile = WriteToMemory(flat, kKindVariantP, error);
    EXPECT_LT(flatFile.size(), flat.Size() / 50);
    EXPECT_TRUE(SamePicture(flat, ReadFromMemory(flatFile, error)));
}

TEST(BitmapFile, FailuresGiveTheirCodesAndTexts) {
    ExpectFailure(Bytes(13, 'B'), kImageReadError, "NOT DIB");
    ExpectFailure({}, kImageReadError, "NOT DIB");
    for (const char* signature : {"BM", "RM", "PM"}) {
        SCOPED_TRACE(signature);
        Bytes shortHeader(14 + 27, 0);
        shortHeader[0] = signature[0];
        shortHeader[1] = signature[1];
        ExpectFailure(shortHeader, kImageReadError, "Read file error");
    }
    ExpectFailure(WindowsFile(40, 4, 4, 8, 1 /* BI_RLE8 */, Bytes(2000, 0)), kImageReadError,
                  "Formato non supportato");
    ExpectFailure(WindowsFile(40, 4, 4, 4, 2 /* BI_RLE4 */, Bytes(2000, 0)), kImageReadError,
                  "Formato non supportato");
    Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0, 0, 0};
    ExpectFailure(gif, kImageUnknownFormat, "Invalid format");
    // Pixels missing at the end of an uncoded file.
    ExpectFailure(WindowsFile(40, 4, 4, 8, 0, Bytes(1024 + 15, 0)), kImageReadError,
                  "ERROR ON READ FROM FILE");
    // A header that asks for more memory than a picture may take.
    ExpectFailure(WindowsFile(40, 60000, 60000, 24, 0, {}), kImageNoMemory,
                  "FREE MEMORY NOT SUFFICIENT");
    ExpectFailure(WindowsFile(40, -5, 4, 24, 0, Bytes(100, 0)), kImageNoMemory,
                  "FREE MEMORY NOT SUFFICIENT");
}

TEST(BitmapFile, APictureWithoutWidthOrHeightIsRefusedAtOnce) {
    // Found by fuzzing: bit-field rows of no bytes, two thousand million of them, took hours.
    Bytes masks(12, 0);
    masks[1] = static_cast<char>(0xF8); // red, green and blue masks of a 16-bit picture
    masks[5] = 0x07;
    masks[6] = static_cast<char>(0xE0);
    masks[8] = 0x1F;
    ExpectFailure(WindowsFile(40, 0, 0x7FFFFFFF, 16, 3 /* BI_BITFIELDS */, masks), kImageReadError,
                  "Formato non supportato");
    ExpectFailure(WindowsFile(40, 0, -0x7FFFFFFF, 32, 0, {}), kImageReadError,
                  "Formato non supportato");
    ExpectFailure(WindowsFile(40, 4, 0, 8, 0, Bytes(1024, 0)), kImageReadError,
                  "Formato non supportato");
    // A width of -1 makes rows of no bytes too (found by fuzzing: 12 million of them, top down).
    Bytes masks32(12, 0);
    masks32[2] = static_cast<char>(0xFF);
    masks32[5] = static_cast<char>(0xFF);
    masks32[8] = static_cast<char>(0xFF);
    ExpectFailure(WindowsFile(40, -1, -12713986, 32, 3 /* BI_BITFIELDS */, masks32),
                  kImageReadError, "Formato non supportato");
}

TEST(BitmapFile, CodesOfAFailureStayAfterALaterSuccess) {
    ImageError error;
    EXPECT_TRUE(ReadFromMemory(Bytes(5, 0), error).Empty());
    ASSERT_FALSE(ReadFromMemory(WriteToMemory(PatternDib(3, 3, 8), 0, error), error).Empty());
    EXPECT_EQ(error.code, kImageReadError);
    EXPECT_EQ(error.text, "NOT DIB");
}

TEST(BitmapFile, TopDownRowsAreStoredBottomFirst) {
    // 2×3 at 24 bits, rows of 8 bytes; stored top row first.
    Bytes rows;
    for (std::uint8_t y = 0; y < 3; ++y) {
        for (std::uint8_t x = 0; x < 2; ++x) {
            rows.insert(rows.end(),
                        {static_cast<std::uint8_t>(10 * y), static_cast<std::uint8_t>(x), 7});
        }
        rows.insert(rows.end(), {0, 0});
    }
    ImageError error;
    DibBlock dib = ReadFromMemory(WindowsFile(40, 2, -3, 24, 0, rows), error);
    ASSERT_FALSE(dib.Empty()) << error.text;
    EXPECT_EQ(dib.Header().height, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 2; ++x) {
            EXPECT_EQ(dib.Pixel(x, y), (RgbQuad{static_cast<std::uint8_t>(10 * y),
                                                static_cast<std::uint8_t>(x), 7, 0}));
        }
    }
}

TEST(BitmapFile, LongerInfoHeadersAndBitFieldsAreRead) {
    // 2×2, 32 bits, masks in a 124-byte header: red in the top byte, blue in the low one.
    Bytes pixels = {0, 0x33, 0x22, 0x11, 0, 0x66, 0x55, 0x44, // bottom row
                    0, 0x99, 0x88, 0x77, 0, 0xCC, 0xBB, 0xAA};
    Bytes file = WindowsFile(124, 2, 2, 32, kCompressionBitfields, pixels);
    PutLe32(file.data() + 14 + 40, 0xFF000000);
    PutLe32(file.data() + 14 + 44, 0x00FF0000);
    PutLe32(file.data() + 14 + 48, 0x0000FF00);
    ImageError error;
    DibBlock dib = ReadFromMemory(file, error);
    ASSERT_FALSE(dib.Empty()) << error.text;
    EXPECT_EQ(dib.Header().bitCount, 24);
    EXPECT_EQ(dib.Header().compression, kCompressionRgb);
    EXPECT_EQ(dib.Header().size, 40u);
    EXPECT_EQ(dib.Pixel(0, 1), (RgbQuad{0x33, 0x22, 0x11, 0}));
    EXPECT_EQ(dib.Pixel(1, 0), (RgbQuad{0xCC, 0xBB, 0xAA, 0}));

    // 16 bits 5-6-5 with the masks after a 40-byte header; full channels read as 255.
    Bytes masks(12);
    PutLe32(masks.data(), 0xF800);
    PutLe32(masks.data() + 4, 0x07E0);
    PutLe32(masks.data() + 8, 0x001F);
    Bytes body = masks;
    body.insert(body.end(), {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0x00, 0x00}); // one row of 3
    DibBlock rgb565 = ReadFromMemory(WindowsFile(40, 3, 1, 16, kCompressionBitfields, body), error);
    ASSERT_FALSE(rgb565.Empty()) << error.text;
    EXPECT_EQ(rgb565.Pixel(0, 0), (RgbQuad{0, 0, 255, 0}));
    EXPECT_EQ(rgb565.Pixel(1, 0), (RgbQuad{0, 255, 0, 0}));
    EXPECT_EQ(rgb565.Pixel(2, 0), (RgbQuad{255, 0, 0, 0}));

    // A plain 8-bit picture behind a 108-byte header.
    DibBlock original = PatternDib(6, 4, 8);
    Bytes body8(original.Data() + 40, original.Data() + original.Size());
    DibBlock v4 = ReadFromMemory(WindowsFile(108, 6, 4, 8, 0, body8), error);
    EXPECT_TRUE(SamePicture(original, v4));

    // Headers shorter than 40 bytes have another layout.
    ExpectFailure(WindowsFile(12, 6, 4, 8, 0, body8), kImageReadError, "Formato non supportato");
}

TEST(BitmapFile, SixteenColoursTakeTheNearestColourAndTheLowerIndexOnTies) {
    std::array<RgbQuad, 16> palette{};
    palette[3] = {0, 0, 100, 0};
    palette[5] = {0, 0, 120, 0};
    palette[9] = {200, 200, 200, 0};
    EXPECT_EQ(NearestColourIndex({0, 0, 110, 0}, palette), 3); // 10 away from both 3 and 5
    EXPECT_EQ(NearestColourIndex({0, 0, 111, 0}, palette), 5);
    EXPECT_EQ(NearestColourIndex({0, 0, 0, 0}, palette), 0); // ties with all the black ones
    EXPECT_EQ(NearestColourIndex({190, 210, 200, 0}, palette), 9);
}

TEST(BitmapFile, SixteenColourFileOfAnEightBitPicture) {
    DibBlock dib = MakeDib(5, 2, 8);
    // Colour table: index i is grey i; pixels from the top: 0 17 34 51 255 / 8 9 26 255 128.
    for (int i = 0; i < 256; ++i) {
        std::memset(dib.Data() + 40 + 4 * i, i, 3);
    }
    const std::uint8_t top[] = {0, 17, 34, 51, 255};
    const std::uint8_t bottom[] = {8, 9, 26, 255, 128};
    std::memcpy(dib.Row(1), top, 5);
    std::memcpy(dib.Row(0), bottom, 5);
    BitmapInfoHeader h = dib.Header();
    h.clrUsed = 256;
    h.Store(dib.Data());

    const auto greys = SixteenGreys();
    for (int kind : {kKindWindows, kKindVariantR, kKindVariantRCoded, kKindVariantP}) {
        SCOPED_TRACE(kind);
        VectorSink sink;
        ImageError error;
        std::uint64_t size = WriteDib16File(sink, dib, kind, greys, error);
        EXPECT_EQ(size, 118u + 2 * 4);
        ASSERT_FALSE(sink.bytes.empty());
        EXPECT_EQ(GetLe32(sink.bytes.data() + 10), 118u);
        EXPECT_EQ(GetLe32(sink.bytes.data() + 2), size);
        if (kind < kKindVariantRCoded) {
            EXPECT_EQ(sink.bytes.size(), size);
        }
        DibBlock back = ReadFromMemory(sink.bytes, error);
        ASSERT_FALSE(back.Empty()) << error.text;
        EXPECT_EQ(back.Header().bitCount, 4);
        EXPECT_EQ(back.Header().clrUsed, 0u);
        EXPECT_EQ(back.ColourTable().size(), 16u);
        // Each grey goes to the nearest of the sixteen; the odd width leaves the low nibble
        // of each row's last byte 0.
        const std::uint8_t expectTop[] = {0x01, 0x23, 0xF0, 0, 0, 0, 0, 0};
        const std::uint8_t expectBottom[] = {0x01, 0x2F, 0x80};
        EXPECT_EQ(std::memcmp(back.Row(1), expectTop, 4), 0);
        EXPECT_EQ(std::memcmp(back.Row(0), expectBottom, 3), 0);
    }
}

TEST(BitmapFile, SixteenColourWriterRefusesOtherDepths) {
    for (std::uint16_t bits : {1, 4, 24}) {
        VectorSink sink;
        ImageError error;
        EXPECT_EQ(WriteDib16File(sink, PatternDib(4, 4, bits), kKindWindows, SixteenGreys(), error),
                  0u);
        EXPECT_EQ(error.code, kImageWriteError);
        EXPECT_TRUE(sink.bytes.empty());
    }
}

TEST(BitmapFile, WriteFailuresReportTheWriteCodeAndKeepTheText) {
    // Callers see the number itself: a write failure is the table's read-or-write failure.
    static_assert(kImageWriteError == -2);
    class FullDisk : public ByteSink {
    public:
        bool Write(const void*, std::size_t size) override {
            room -= static_cast<long>(size);
            return room >= 0;
        }
        long room = 100;
    };
    for (int kind : {kKindWindows, kKindVariantRCoded}) {
        FullDisk disk;
        ImageError error;
        error.Set(kImageReadError, texts::kNotDib); // an earlier failure's text
        EXPECT_EQ(WriteDibFile(disk, PatternDib(50, 50, 8), kind, error), 0u);
        EXPECT_EQ(error.code, kImageWriteError);
        EXPECT_EQ(error.text, "NOT DIB");
    }
    ImageError error;
    VectorSink sink;
    EXPECT_EQ(WriteDibFile(sink, DibBlock(), kKindWindows, error), 0u);
    EXPECT_EQ(error.code, 0); // nothing to write is no failure
    EXPECT_EQ(WriteDibFile(sink, PatternDib(2, 2, 8), 4, error), 0u);
    EXPECT_EQ(error.code, kImageWriteError);
    EXPECT_EQ(error.text, "");
    EXPECT_TRUE(sink.bytes.empty());
}

TEST(BitmapFile, AFileThatRefusesWritesGivesTheWriteCode) {
    ScratchDir scratch;
    const std::string path = scratch.Path("refusing.bmp");
    WriteWholeFile(path, {});
    // A real file opened for reading only: every write to it fails.
    StdioFile file(path, "rb");
    ASSERT_TRUE(file);
    StdioSink sink(file.Get());
    ImageError error;
    EXPECT_EQ(WriteDibFile(sink, PatternDib(9, 7, 8), kKindVariantP, error), 0u);
    EXPECT_EQ(error.code, kImageWriteError);
    error = {};
    EXPECT_EQ(WriteDib16File(sink, PatternDib(9, 7, 8), kKindWindows, SixteenGreys(), error), 0u);
    EXPECT_EQ(error.code, kImageWriteError);
    EXPECT_EQ(error.text, "");
    EXPECT_TRUE(ReadWholeFile(path).empty());
}

TEST(BitmapFile, BitFieldsOfAnEnormousPictureAreRefusedWithoutOverflow) {
    // Found by fuzzing: the file's row size times the height passed 64 bits.
    const std::uint8_t found[] = {
        0x42, 0x4d, 0xda, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x7c, 0x00, 0x00, 0x00,
        0x8a, 0x00, 0x00, 0x01, 0x01, 0x00, 0x7f, 0xfe, 0x69, 0xa2, 0xa3, 0xaf, 0x00, 0x20, 0x00,
        0x03, 0x00, 0x00, 0x00, 0x50, 0x00, 0x00, 0x00, 0x00, 0x00, 0xc4, 0x33, 0xa0, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x13, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x58, 0x10, 0x00, 0x60, 0x60, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x08, 0x00, 0x00, 0xff, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x05, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0xff, 0x00, 0x00, 0xff, 0x00, 0x00, 0xff, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0xff};
    ImageError error;
    DibBlock dib = ReadFromMemory(Bytes(std::begin(found), std::end(found)), error);
    EXPECT_TRUE(dib.Empty());
    EXPECT_LT(error.code, 0);
}
