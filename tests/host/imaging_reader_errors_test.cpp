// Each reader's failure, as the loader's caller receives it: one ImageError that carries the
// code and text of the reader that judged the file, the same the reader itself reports.
#include "imaging/portable/picture_reader.h"
#include "imaging_test_support.h"

#include <gtest/gtest.h>

using namespace korva;
using namespace imagingtest;

namespace {

using Bytes = std::vector<std::uint8_t>;

// Small enough for no picture's block: the reader that judged the file runs out of memory.
constexpr std::uint64_t kTinyMemory = 32;

// A 2×2 grey TIFF ("II", one strip of 8-bit pixels at `stripOffset`).
Bytes TinyTiff(std::uint32_t stripOffset) {
    Bytes file = {'I', 'I', 42, 0, 8, 0, 0, 0, 4, 0};
    auto entry = [&](std::uint16_t tag, std::uint16_t type, std::uint32_t value) {
        Bytes raw(12, 0);
        PutLe16(raw.data(), tag);
        PutLe16(raw.data() + 2, type);
        PutLe32(raw.data() + 4, 1);
        PutLe32(raw.data() + 8, value);
        file.insert(file.end(), raw.begin(), raw.end());
    };
    entry(256, 3, 2);           // width
    entry(257, 3, 2);           // height
    entry(258, 3, 8);           // bits per sample
    entry(273, 4, stripOffset); // the strip
    file.insert(file.end(), {0, 0, 0, 0, 10, 20, 30, 40});
    return file;
}

// A 2×2 GIF with a two-colour table; its image data are never reached by these tests.
Bytes TinyGif() {
    return {'G', 'I',  'F', '8', '9', 'a', 2, 0, 2, 0, 0x80, 0, 0, 0,    0,    0, 255, 255,
            255, 0x2C, 0,   0,   0,   0,   2, 0, 2, 0, 0,    2, 2, 0x4C, 0x01, 0, 0x3B};
}

PictureResult Load(const Bytes& file, std::uint64_t memoryLimit = kMaxDibBlockSize) {
    MemorySource source(file);
    return ReadPicture(source, memoryLimit);
}

void ExpectError(const ImageError& error, int code, const std::string& text) {
    EXPECT_EQ(error.code, code);
    EXPECT_EQ(error.text, text);
}

} // namespace

TEST(ReaderErrors, TheTinyFilesAreRead) {
    // The files below fail only by what each case changes.
    EXPECT_EQ(Load(TinyTiff(62)).format, PictureFormat::kTiff);
    ImageError error;
    EXPECT_EQ(Load(WriteToMemory(PatternDib(4, 4, 8), kKindWindows, error)).format,
              PictureFormat::kWindowsBitmap);
}

TEST(ReaderErrors, TheBitmapReadersFailureReachesTheCaller) {
    ExpectError(Load(Bytes(13, 'B')).error, kImageReadError, "NOT DIB");
    ImageError error;
    const Bytes bitmap = WriteToMemory(PatternDib(4, 4, 8), kKindVariantP, error);
    ExpectError(Load(bitmap, kTinyMemory).error, kImageNoMemory, "FREE MEMORY NOT SUFFICIENT");
}

TEST(ReaderErrors, TheTiffReadersFailureReachesTheCaller) {
    PictureResult shortStrip = Load(TinyTiff(1000));
    ExpectError(shortStrip.error, kImageShortPixels, "Bad tiff file");
    ExpectError(shortStrip.tiff.Error(), kImageShortPixels, "Bad tiff file");
    EXPECT_EQ(shortStrip.tiff.ErrorCode(), kImageShortPixels);
    EXPECT_EQ(shortStrip.tiff.ErrorText(), "Bad tiff file");

    PictureResult noMemory = Load(TinyTiff(62), kTinyMemory);
    ExpectError(noMemory.error, kImageNoMemory, "FREE MEMORY NOT SUFFICIENT");
    ExpectError(noMemory.tiff.Error(), kImageNoMemory, "FREE MEMORY NOT SUFFICIENT");
}

TEST(ReaderErrors, TheGifReadersFailureReachesTheCaller) {
    Bytes cut = TinyGif();
    cut.resize(19); // the colour table, and no image
    PictureResult unreadable = Load(cut);
    ExpectError(unreadable.error, kImageReadError, "This File doesn't contain an image");
    ExpectError(unreadable.gif.Error(), kImageReadError, "This File doesn't contain an image");
    EXPECT_EQ(unreadable.gif.FormatFlag(), CGif::kUnreadableGif);
    EXPECT_EQ(unreadable.gif.LastErrorText(), "This File doesn't contain an image");

    // Memory that is not available leaves the format flag as it was.
    PictureResult noMemory = Load(TinyGif(), kTinyMemory);
    ExpectError(noMemory.error, kImageNoMemory, "FREE MEMORY NOT SUFFICIENT");
    ExpectError(noMemory.gif.Error(), kImageNoMemory, "FREE MEMORY NOT SUFFICIENT");
    EXPECT_EQ(noMemory.gif.FormatFlag(), 0);

    // No reader's format: the GIF reader's own text stays its own.
    PictureResult none = Load(Bytes(40, 'x'));
    ExpectError(none.error, kImageUnknownFormat, "Invalid format");
    ExpectError(none.gif.Error(), kImageUnknownFormat, "This is not a gif file");
    EXPECT_EQ(none.gif.FormatFlag(), CGif::kNotAGif);
}
