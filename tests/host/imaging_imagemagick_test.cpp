// Bitmap files written by ImageMagick decode to the pixels it was given.
#include "imaging/portable/bitmap_file.h"
#include "imaging_test_support.h"

#include <gtest/gtest.h>

using namespace korva;
using namespace imagingtest;

namespace {

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
