// The image library on the platform: the loader with its palettes and fallbacks, DIB and
// bitmap conversions, bitmap files written from bitmaps, metafiles and screen capture.
#include "imaging/cdib.h"
#include "imaging/cwmf.h"
#include "imaging/dib_gdi.h"
#include "imaging/global_dib.h"
#include "imaging/portable/bitmap_file.h"
#include "scratch.h"
#include "tests/support/screen_capture.h"
#include "test_name.h"
#include "test_picture.h"
#include "tools/mkpictures/metafile_writer.h"
#include "tools/mkpictures/sample_pictures.h"

#include <gtest/gtest.h>

using testfs::TestName;

#include <cstring>
#include <fstream>
#include <vector>

using namespace korva;

namespace {

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

void WriteDib(const std::string& path, const DibBlock& dib, int kind = kKindWindows) {
    VectorSink sink;
    ImageError error;
    ASSERT_NE(WriteDibFile(sink, dib, kind, error), 0u);
    WriteBytes(path, sink.bytes);
}

// The pixels of a bitmap, with the colours of the screen.
robot::Pixels ReadPixels(HBITMAP bitmap) {
    fw::WindowDc screen(nullptr);
    return robot::BitmapPixels(screen.Get(), bitmap);
}

std::uint32_t Rgb(const RgbQuad& q) {
    return (q.red << 16) | (q.green << 8) | q.blue;
}

::testing::AssertionResult SameAsDib(HBITMAP bitmap, const DibBlock& dib) {
    const robot::Pixels pixels = ReadPixels(bitmap);
    if (pixels.width != dib.Header().width || pixels.height != dib.Header().height) {
        return ::testing::AssertionFailure() << "size " << pixels.width << "x" << pixels.height;
    }
    for (int y = 0; y < pixels.height; ++y) {
        for (int x = 0; x < pixels.width; ++x) {
            if (pixels.At(x, y) != Rgb(dib.Pixel(x, y))) {
                return ::testing::AssertionFailure()
                       << "pixel " << x << "," << y << ": " << std::hex << pixels.At(x, y) << " vs "
                       << Rgb(dib.Pixel(x, y));
            }
        }
    }
    return ::testing::AssertionSuccess();
}

int PaletteSize(HPALETTE palette) {
    WORD entries = 0;
    return GetObjectA(palette, sizeof entries, &entries) ? entries : -1;
}

// A bitmap of the screen's format showing `dib`.
fw::UniqueBitmap BitmapOf(const DibBlock& dib) {
    fw::UniqueGlobal block = GlobalFromDib(dib);
    CDib converter;
    return converter.DibToBitmap(block.Get(), nullptr);
}

DibBlock Cells(std::uint16_t bits) {
    return CellPicture(24, 9, bits,
                       {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0x808080, 0x123456,
                        0xFEDCBA, 0x00FFFF, 0xFF00FF, 0xFFFF00, 0x404040});
}

// A metafile that fills 0,0 - 400,400 logical units in black and sets no extent of its own.
MetafileWriter QuarterDrawing() {
    MetafileWriter drawing;
    drawing.SolidPen(0x000000, 1);
    drawing.SolidBrush(0x000000);
    drawing.Rectangle(0, 0, 400, 400);
    return drawing;
}

void ExpectQuarterFilled(HBITMAP bitmap) {
    const robot::Pixels pixels = ReadPixels(bitmap);
    ASSERT_EQ(pixels.width, 110);
    ASSERT_EQ(pixels.height, 110);
    EXPECT_EQ(pixels.At(0, 0), 0u);
    EXPECT_EQ(pixels.At(30, 30), 0u);
    EXPECT_EQ(pixels.At(53, 53), 0u);
    EXPECT_EQ(pixels.At(57, 57), 0xFFFFFFu);
    EXPECT_EQ(pixels.At(30, 80), 0xFFFFFFu);
    EXPECT_EQ(pixels.At(80, 30), 0xFFFFFFu);
    EXPECT_EQ(pixels.At(109, 109), 0xFFFFFFu);
}

using testfs::TestPicture;

class Imaging : public ::testing::Test {
protected:
    void SetUp() override { dir_ = testfs::FreshScratchDir(TestName()); }
    std::string Path(const std::string& name) const { return dir_ + "\\" + name; }
    std::string dir_;
};

} // namespace

TEST_F(Imaging, TrueColourBitmapLoadsWithoutPalette) {
    DibBlock picture = Cells(24);
    WriteDib(Path("rgb.bmp"), picture);
    CDib loader;
    fw::UniquePalette palette;
    fw::UniqueBitmap bitmap = loader.LoadPicture(Path("rgb.bmp"), palette, false);
    ASSERT_TRUE(bitmap) << loader.LastErrorText();
    EXPECT_FALSE(palette);
    EXPECT_TRUE(SameAsDib(bitmap.Get(), picture));
}

TEST_F(Imaging, PaletteBitmapsOfEveryKindLoadWithTheirPalette) {
    for (std::uint16_t bits : {1, 4, 8}) {
        for (int kind : {kKindWindows, kKindVariantR, kKindVariantRCoded, kKindVariantP}) {
            SCOPED_TRACE(::testing::Message() << bits << " bits, kind " << kind);
            DibBlock picture = Cells(bits);
            WriteDib(Path("pal.bmp"), picture, kind);
            CDib loader;
            fw::UniquePalette palette;
            fw::UniqueBitmap bitmap = loader.LoadPicture(Path("pal.bmp"), palette, false);
            ASSERT_TRUE(bitmap) << loader.LastErrorText();
            ASSERT_TRUE(palette);
            EXPECT_EQ(PaletteSize(palette.Get()), 1 << bits);
            PALETTEENTRY first{};
            GetPaletteEntries(palette.Get(), 0, 1, &first);
            EXPECT_EQ(first.peRed, 0xFF);
            EXPECT_EQ(first.peGreen, 0);
            EXPECT_TRUE(SameAsDib(bitmap.Get(), picture));
        }
    }
}

TEST_F(Imaging, KeepPaletteLeavesTheCallersPalette) {
    WriteDib(Path("pal.bmp"), Cells(8));
    fw::UniquePalette mine = PaletteFromColourTable(std::vector<RgbQuad>(5));
    HPALETTE before = mine.Get();
    CDib loader;
    EXPECT_TRUE(loader.LoadPicture(Path("pal.bmp"), mine, true));
    EXPECT_EQ(mine.Get(), before);
    EXPECT_EQ(PaletteSize(mine.Get()), 5);
}

TEST_F(Imaging, LoaderFailuresAndTheirTexts) {
    fw::UniquePalette palette;
    {
        CDib loader;
        EXPECT_FALSE(loader.LoadPicture(Path("missing.bmp"), palette, false));
        EXPECT_EQ(loader.LastErrorCode(), -1);
        EXPECT_STREQ(loader.LastErrorText(), "FILE NOT FOUND");
    }
    {
        // 13 bytes: not a bitmap file, not tried as TIFF or GIF, not a metafile either.
        testfs::WriteFile(Path("short.bmp"), "BM34567890123");
        CDib loader;
        EXPECT_FALSE(loader.LoadPicture(Path("short.bmp"), palette, false));
        EXPECT_EQ(loader.LastErrorCode(), -2);
        EXPECT_STREQ(loader.LastErrorText(), "NOT DIB");
    }
    {
        std::vector<std::uint8_t> rle(14 + 40 + 1024 + 64, 0);
        rle[0] = 'B';
        rle[1] = 'M';
        BitmapInfoHeader header;
        header.width = 8;
        header.height = 8;
        header.bitCount = 8;
        header.compression = 1; // BI_RLE8
        header.Store(rle.data() + 14);
        WriteBytes(Path("rle8.bmp"), rle);
        CDib loader;
        EXPECT_FALSE(loader.LoadPicture(Path("rle8.bmp"), palette, false));
        EXPECT_EQ(loader.LastErrorCode(), -2);
        EXPECT_STREQ(loader.LastErrorText(), "Formato non supportato");
    }
    {
        testfs::WriteFile(Path("text.txt"), "neither a picture nor a drawing, just text");
        CDib loader;
        EXPECT_FALSE(loader.LoadPicture(Path("text.txt"), palette, false));
        EXPECT_EQ(loader.LastErrorCode(), -3);
    }
    EXPECT_FALSE(palette);
}

TEST_F(Imaging, DibAndBitmapConvertBothWays) {
    DibBlock picture = Cells(8);
    fw::UniqueGlobal block = GlobalFromDib(picture);
    CDib converter;
    fw::UniquePalette palette = converter.MakeDibPalette(block.Get());
    EXPECT_EQ(PaletteSize(palette.Get()), 256);
    fw::UniqueBitmap bitmap = converter.DibToBitmap(block.Get(), palette.Get());
    ASSERT_TRUE(bitmap);
    EXPECT_TRUE(SameAsDib(bitmap.Get(), picture));

    fw::UniquePalette made;
    fw::UniqueGlobal back = converter.BitmapToDib(bitmap.Get(), nullptr, &made);
    ASSERT_TRUE(back);
    DibBlock copy = DibFromGlobal(back.Get());
    BITMAP description{};
    GetObjectA(bitmap.Get(), sizeof description, &description);
    const int screenBits = description.bmPlanes * description.bmBitsPixel;
    EXPECT_EQ(copy.Header().bitCount, screenBits > 8   ? 24
                                      : screenBits > 4 ? 8
                                      : screenBits > 1 ? 4
                                                       : 1);
    EXPECT_EQ(static_cast<bool>(made), copy.Header().bitCount <= 8);
    if (screenBits > 8) {
        for (int y : {0, 4, 8}) {
            for (int x : {0, 7, 13, 23}) {
                EXPECT_EQ(copy.Pixel(x, y), picture.Pixel(x, y)) << x << "," << y;
            }
        }
    }

    EXPECT_FALSE(converter.MakeDibPalette(GlobalFromDib(Cells(24)).Get()));
    EXPECT_FALSE(converter.BitmapToDib(nullptr, nullptr, nullptr));
    EXPECT_EQ(converter.LastErrorCode(), -5);
}

TEST_F(Imaging, SavedBitmapsReadBackInEveryKind) {
    DibBlock picture = Cells(24);
    fw::UniqueBitmap bitmap = BitmapOf(picture);
    for (int kind = 0; kind <= 3; ++kind) {
        SCOPED_TRACE(kind);
        const std::string path = Path("saved" + std::to_string(kind) + ".bmp");
        CDib saver;
        DWORD written = saver.SaveBitmapFile(bitmap.Get(), path, kind, nullptr);
        ASSERT_NE(written, 0u) << saver.LastErrorText();
        EXPECT_EQ(written, 14 + 40 + 24u * 9 * 3 + 0 /* rows of 72 bytes */);
        fw::UniquePalette palette;
        CDib loader;
        fw::UniqueBitmap back = loader.LoadPicture(path, palette, false);
        ASSERT_TRUE(back) << loader.LastErrorText();
        EXPECT_TRUE(SameAsDib(back.Get(), picture));
    }
}

TEST_F(Imaging, SaveFailuresLeaveTheirTexts) {
    CDib saver;
    EXPECT_EQ(saver.SaveBitmapFile(nullptr, Path("none.bmp"), 0, nullptr), 0u);
    EXPECT_STREQ(saver.LastErrorText(), "IMPOSSIBILE CONVERTIRE IL BITMAP");
    EXPECT_FALSE(testfs::Exists(Path("none.bmp")));

    fw::UniqueBitmap bitmap = BitmapOf(Cells(24));
    CDib writer;
    EXPECT_EQ(writer.SaveBitmapFile(bitmap.Get(), Path("no\\such\\dir.bmp"), 0, nullptr), 0u);
    EXPECT_STREQ(writer.LastErrorText(), "IMPOSSIBILE SCRIVERE IL FILE ");
    EXPECT_EQ(writer.LastErrorCode(), kImageWriteError);
    EXPECT_EQ(writer.LastError().code, kImageWriteError);

    // A failed read before the write: the write's code and text replace the read's.
    CDib reader;
    fw::UniquePalette palette;
    EXPECT_FALSE(reader.LoadPicture(Path("missing.bmp"), palette, false));
    ASSERT_EQ(reader.LastErrorCode(), kImageFileNotFound);
    EXPECT_EQ(reader.SaveBitmap16File(bitmap.Get(), Path("no\\such\\dir16.bmp"), 0, nullptr), 0u);
    EXPECT_STREQ(reader.LastErrorText(), "IMPOSSIBILE SCRIVERE IL FILE ");
    EXPECT_EQ(reader.LastErrorCode(), kImageWriteError);
}

TEST_F(Imaging, SixteenColourFilesComeFromEightBitPicturesOnly) {
    // An 8-bit DIB reduced with a given palette: the file reads back with 4 bits.
    std::vector<RgbQuad> sixteen = Cells(8).ColourTable();
    sixteen.resize(16);
    fw::UniquePalette palette = PaletteFromColourTable(sixteen);
    fw::UniqueGlobal block = GlobalFromDib(Cells(8));
    CDib writer;
    DWORD written =
        writer.WriteDib16File(Path("sixteen.bmp"), block.Get(), kKindVariantRCoded, palette.Get());
    EXPECT_EQ(written, 118u + 12 * 9);
    fw::UniquePalette loadedPalette;
    CDib loader;
    fw::UniqueBitmap loaded = loader.LoadPicture(Path("sixteen.bmp"), loadedPalette, false);
    ASSERT_TRUE(loaded) << loader.LastErrorText();
    EXPECT_EQ(PaletteSize(loadedPalette.Get()), 16);
    EXPECT_TRUE(SameAsDib(loaded.Get(), Cells(8)));

    // A 24-bit picture is refused and no file is made.
    CDib refusing;
    fw::UniqueGlobal rgb = GlobalFromDib(Cells(24));
    EXPECT_EQ(refusing.WriteDib16File(Path("rgb16.bmp"), rgb.Get(), 0, nullptr), 0u);
    EXPECT_EQ(refusing.LastErrorCode(), kImageWriteError);
    EXPECT_FALSE(testfs::Exists(Path("rgb16.bmp")));
}

TEST_F(Imaging, CaptureIsCutAtTheScreenEdges) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    CDib capturer;
    fw::UniqueBitmap right = capturer.CaptureScreenArea({width - 50, 10, width + 100, 60});
    ASSERT_TRUE(right);
    BITMAP description{};
    GetObjectA(right.Get(), sizeof description, &description);
    EXPECT_EQ(description.bmWidth, 50);
    EXPECT_EQ(description.bmHeight, 50);

    fw::UniqueBitmap corner = capturer.CaptureScreenArea({-20, -30, 40, height + 5});
    ASSERT_TRUE(corner);
    GetObjectA(corner.Get(), sizeof description, &description);
    EXPECT_EQ(description.bmWidth, 40);
    EXPECT_EQ(description.bmHeight, height);

    CDib empty;
    EXPECT_FALSE(empty.CaptureScreenArea({10, 10, 10, 50}));
    EXPECT_STREQ(empty.LastErrorText(), "The rectangle is empty");
    EXPECT_FALSE(empty.CaptureScreenArea({width + 10, 0, width + 20, 10}));
}

TEST_F(Imaging, PlainAndPlaceableMetafilesFillTheirQuarter) {
    WriteBytes(Path("plain.wmf"), QuarterDrawing().Plain());
    WriteBytes(Path("placeable22.wmf"), QuarterDrawing().Placeable(0, 0, 400, 400, 22));
    WriteBytes(Path("placeable32.wmf"), QuarterDrawing().Placeable(0, 0, 400, 400, 32));
    for (const char* name : {"plain.wmf", "placeable22.wmf", "placeable32.wmf"}) {
        SCOPED_TRACE(name);
        CWmf metafile;
        fw::UniquePalette palette;
        fw::UniqueBitmap bitmap = metafile.RenderMetafile(Path(name), palette, 110, 110);
        ASSERT_TRUE(bitmap);
        EXPECT_EQ(metafile.plainFlag_, std::string(name) == "plain.wmf" ? 1 : 0);
        ExpectQuarterFilled(bitmap.Get());
        // The palette has as many entries as the display's (none without a palette).
        fw::WindowDc screen(nullptr);
        const int displayEntries = GetDeviceCaps(screen.Get(), RASTERCAPS) & RC_PALETTE
                                       ? GetDeviceCaps(screen.Get(), SIZEPALETTE)
                                       : 0;
        ASSERT_TRUE(palette);
        EXPECT_EQ(PaletteSize(palette.Get()), displayEntries);

        // The loader falls back on the metafile reader for these files.
        CDib loader;
        fw::UniquePalette loadedPalette;
        fw::UniqueBitmap loaded = loader.LoadPicture(Path(name), loadedPalette, false);
        ASSERT_TRUE(loaded);
        ExpectQuarterFilled(loaded.Get());
        EXPECT_TRUE(loadedPalette);
    }
}

TEST_F(Imaging, MetafilesThatCannotBeOpened) {
    testfs::WriteFile(Path("tiny.wmf"), "\xD7\xCD");
    std::vector<std::uint8_t> noHeader = QuarterDrawing().Placeable(0, 0, 400, 400, 22);
    noHeader.resize(30);
    WriteBytes(Path("cut.wmf"), noHeader);
    for (const char* name : {"tiny.wmf", "cut.wmf", "missing.wmf"}) {
        CWmf metafile;
        fw::UniquePalette palette;
        EXPECT_FALSE(metafile.RenderMetafile(Path(name), palette, 110, 110)) << name;
        EXPECT_EQ(metafile.playResult_, 0) << name;
        EXPECT_FALSE(palette) << name;
    }
    // A placeable file whose header claims more than the file holds plays what is there.
    std::vector<std::uint8_t> longer = QuarterDrawing().Placeable(0, 0, 400, 400, 22);
    PutLe32(longer.data() + 22 + 6, 0x7FFFFFF0);
    WriteBytes(Path("claims.wmf"), longer);
    CWmf metafile;
    fw::UniqueMetafile opened = metafile.OpenMetafile(Path("claims.wmf"));
    EXPECT_TRUE(opened);
}

TEST_F(Imaging, GifAndTiffLoadWithTheirPalettes) {
    const DibBlock cover = CellPicture(160, 120, 8, SampleBitmaps().front().cells);
    {
        CDib loader;
        fw::UniquePalette palette;
        fw::UniqueBitmap bitmap = loader.LoadPicture(TestPicture("cover1.gif"), palette, false);
        ASSERT_TRUE(bitmap) << loader.LastErrorText();
        EXPECT_EQ(PaletteSize(palette.Get()), 256);
        EXPECT_TRUE(SameAsDib(bitmap.Get(), cover));
        // Reading the bitmap reader's way first left "Invalid format" behind.
        EXPECT_EQ(loader.LastErrorCode(), -3);
    }
    {
        CDib loader;
        fw::UniquePalette palette;
        fw::UniqueBitmap bitmap = loader.LoadPicture(TestPicture("cover1.tif"), palette, false);
        ASSERT_TRUE(bitmap) << loader.LastErrorText();
        EXPECT_FALSE(palette); // true colour
        EXPECT_TRUE(SameAsDib(bitmap.Get(), cover));
    }
    {
        // A GIF that ends after its screen descriptor: read failure, then no metafile either.
        std::string gif = testfs::ReadFile(TestPicture("cover1.gif"));
        const std::size_t table = 3u << ((static_cast<unsigned char>(gif[10]) & 7) + 1);
        testfs::WriteFile(Path("cut.gif"), gif.substr(0, 13 + table));
        CDib loader;
        fw::UniquePalette palette;
        EXPECT_FALSE(loader.LoadPicture(Path("cut.gif"), palette, false));
        EXPECT_EQ(loader.LastErrorCode(), -2);
        EXPECT_STREQ(loader.LastErrorText(), "This File doesn't contain an image");
        EXPECT_FALSE(palette);
    }
}
