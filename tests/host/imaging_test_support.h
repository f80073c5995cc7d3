// Pictures for the image library's host tests: patterned DIBs, files in memory, and
// comparisons of decoded pixels.
#pragma once

#include "framework/portable/byte_stream.h"
#include "imaging/portable/bitmap_file.h"
#include "imaging/portable/dib.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace imagingtest {

// A DIB of the given depth whose colour table and pixels follow a fixed pattern; every row
// differs from its neighbours and the padding bytes stay zero.
korva::DibBlock PatternDib(std::int32_t width, std::int32_t height, std::uint16_t bits,
                           std::uint32_t seed = 1);

std::vector<std::uint8_t> WriteToMemory(const korva::DibBlock& dib, int kind,
                                        korva::ImageError& error);
korva::DibBlock ReadFromMemory(const std::vector<std::uint8_t>& file, korva::ImageError& error,
                               korva::BitmapFileInfo* info = nullptr);

// Header fields, colour table and pixel rows (without padding) of two DIBs are the same.
::testing::AssertionResult SamePicture(const korva::DibBlock& a, const korva::DibBlock& b);
// Same colours at every pixel, whatever the depths.
::testing::AssertionResult SameColours(const korva::DibBlock& a, const korva::DibBlock& b);

// A scratch directory for files handed to outside programs; removed by the destructor.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }

private:
    std::string dir_;
};

std::vector<std::uint8_t> ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
// Runs a shell command; the exit status.
int Run(const std::string& command);

struct Rgb {
    std::uint8_t r, g, b;
};

// A picture as rows of colours from the top, with a P6 writer for ImageMagick to read.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;

    Rgb At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
    void WritePpm(const std::string& path) const;
};

// `colours` distinct colours (0 for any number) spread over a width × height picture.
Picture MakePicture(int colours, int width = 23, int height = 13);

// The file ImageMagick writes from `picture` with the given options, as "TYPE:" output.
std::vector<std::uint8_t> ImageMagickFile(const Picture& picture, const std::string& options,
                                          const std::string& type);

// The DIB shows the picture's colours at every pixel; `rows` maps DIB lines (from the top)
// to picture rows when they are stored in another order.
::testing::AssertionResult SamePixels(const Picture& picture, const korva::DibBlock& dib,
                                      const std::vector<int>& rows = {});

} // namespace imagingtest
