// Bitmap files written by ImageMagick decode to the pixels it was given.
#include "bitmap_file.h"
#include "imaging_test_support.h"

#include <gtest/gtest.h>

using namespace korva;
using namespace imagingtest;

namespace {

struct Rgb {
    std::uint8_t r, g, b;
};

// A picture as rows of colours from the top, with a P6 writer for ImageMagick to read.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;

    Rgb At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }

    void WritePpm(const std::string& path) const {
        std::string header =
            "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
        std::vector<std::uint8_t> bytes(header.begin(), header.end());
        for (const Rgb& p : pixels) {
            bytes.insert(bytes.end(), {p.r, p.g, p.b});
        }
        WriteWholeFile(path, bytes);
    }
};

// `colours` distinct colours (2, 16, 256, or 0 for any) spread over a 23×13 picture.
Picture MakePicture(int colours) {
    Picture picture{23, 13, {}};
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            int n = x * 7 + y * 31 + (x * y) % 5;
            Rgb c{static_cast<std::uint8_t>(n * 37), static_cast<std::uint8_t>(n * 11 + y),
                  static_cast<std::uint8_t>(255 - x * 9)};
            if (colours == 2) {
                c = (n % 3 == 0) ? Rgb{255, 255, 255} : Rgb{0, 0, 0};
            } else if (colours > 0) {
                int k = n % colours;
                c = {static_cast<std::uint8_t>(k * 13), static_cast<std::uint8_t>(255 - k),
                     static_cast<std::uint8_t>(k * 101)};
            }
            picture.pixels.push_back(c);
        }
    }
    return picture;
}

class ImageMagickBitmaps : public ::testing::Test {
protected:
    // Converts the picture with the given options and output type; reads the result back.
    DibBlock Convert(const Picture& picture, const std::string& options, const std::string& type,
                     BitmapFileInfo& info) {
        const std::string in = scratch_.Path("in.ppm");
        const std::string out = scratch_.Path("out.bmp");
        picture.WritePpm(in);
        int status = imagingtest::Run(std::string(KORVA_CONVERT) + " " + in + " " + options + " " +
                                      type + ":" + out);
        EXPECT_EQ(status, 0) << "convert " << options;
        ImageError error;
        DibBlock dib = ReadFromMemory(ReadWholeFile(out), error, &info);
        EXPECT_FALSE(dib.Empty()) << options << ": " << error.text;
        return dib;
    }

    ScratchDir scratch_;
};

::testing::AssertionResult SamePixels(const Picture& picture, const DibBlock& dib) {
    if (dib.Empty()) {
        return ::testing::AssertionFailure() << "nothing decoded";
    }
    if (dib.Header().width != picture.width || dib.Header().height != picture.height) {
        return ::testing::AssertionFailure()
               << "size " << dib.Header().width << "x" << dib.Header().height;
    }
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            RgbQuad got = dib.Pixel(x, y);
            Rgb want = picture.At(x, y);
            if (got.red != want.r || got.green != want.g || got.blue != want.b) {
                return ::testing::AssertionFailure()
                       << "pixel " << x << "," << y << " is " << int(got.red) << ","
                       << int(got.green) << "," << int(got.blue) << ", wanted " << int(want.r)
                       << "," << int(want.g) << "," << int(want.b);
            }
        }
    }
    return ::testing::AssertionSuccess();
}

} // namespace

TEST_F(ImageMagickBitmaps, TrueColourWithTheClassicAndTheLongHeader) {
    const Picture picture = MakePicture(0);
    BitmapFileInfo info;
    EXPECT_TRUE(SamePixels(picture, Convert(picture, "", "BMP3", info)));
    EXPECT_EQ(info.fileHeaderSize, 40u);
    EXPECT_EQ(info.fileBitCount, 24);
    EXPECT_TRUE(SamePixels(picture, Convert(picture, "", "BMP", info)));
    EXPECT_GT(info.fileHeaderSize, 40u);
}

TEST_F(ImageMagickBitmaps, PaletteDepthsOneFourAndEight) {
    struct Case {
        int colours;
        int bits;
    };
    for (Case c : {Case{2, 1}, Case{16, 4}, Case{256, 8}}) {
        SCOPED_TRACE(c.colours);
        const Picture picture = MakePicture(c.colours);
        for (const char* type : {"BMP3", "BMP"}) {
            BitmapFileInfo info;
            DibBlock dib = Convert(picture, "-type Palette -compress none", type, info);
            EXPECT_EQ(dib.Header().bitCount, c.bits) << type;
            EXPECT_TRUE(SamePixels(picture, dib)) << type;
        }
    }
}

TEST_F(ImageMagickBitmaps, BitFieldsWithAlpha) {
    const Picture picture = MakePicture(0);
    BitmapFileInfo info;
    DibBlock dib = Convert(picture, "-alpha set", "BMP", info);
    EXPECT_EQ(info.fileBitCount, 32);
    EXPECT_TRUE(SamePixels(picture, dib));
}

TEST_F(ImageMagickBitmaps, RunLengthCodedPalettesAreRefused) {
    // ImageMagick codes 8-bit palettes with BI_RLE8 unless told otherwise.
    const Picture picture = MakePicture(256);
    const std::string in = scratch_.Path("in.ppm");
    const std::string out = scratch_.Path("rle.bmp");
    picture.WritePpm(in);
    ASSERT_EQ(imagingtest::Run(std::string(KORVA_CONVERT) + " " + in +
                               " -type Palette -compress RLE BMP3:" + out),
              0);
    std::vector<std::uint8_t> file = ReadWholeFile(out);
    ASSERT_GT(file.size(), 54u);
    ASSERT_EQ(GetLe32(file.data() + 30), 1u) << "BI_RLE8";
    ImageError error;
    EXPECT_TRUE(ReadFromMemory(file, error).Empty());
    EXPECT_EQ(error.code, kImageReadError);
    EXPECT_EQ(error.text, "Formato non supportato");
}
