#include <gtest/gtest.h>

#include "imaging_test_support.h"

#include <cstdlib>
#include <cstring>
#include <stdlib.h>
#include <sys/wait.h>
#include <filesystem>
#include <fstream>
#include <iterator>

using namespace korva;

namespace imagingtest {

DibBlock PatternDib(std::int32_t width, std::int32_t height, std::uint16_t bits,
                    std::uint32_t seed) {
    DibBlock dib = MakeDib(width, height, bits);
    std::uint32_t state = seed * 2654435761u + 12345;
    auto next = [&state] {
        state = state * 1103515245u + 12345u;
        return static_cast<std::uint8_t>(state >> 16);
    };
    const std::int64_t colours = ColourCount(dib.Header());
    for (std::int64_t i = 0; i < colours; ++i) {
        std::uint8_t* q = dib.Data() + kInfoHeaderSize + 4 * i;
        q[0] = static_cast<std::uint8_t>(i + seed);
        q[1] = static_cast<std::uint8_t>(i * 3);
        q[2] = static_cast<std::uint8_t>(255 - i);
    }
    const std::int64_t usedBytes = (static_cast<std::int64_t>(width) * bits + 7) / 8;
    for (std::int32_t y = 0; y < height; ++y) {
        std::uint8_t* row = dib.Row(y);
        for (std::int64_t i = 0; i < usedBytes; ++i) {
            // Runs and single bytes mixed, so that the coder meets both.
            row[i] = (i / 12) % 2 == 0 ? static_cast<std::uint8_t>(y * 7 + 0x90) : next();
        }
        // Unused low bits of the last byte stay zero, as a writer of the format leaves them.
        int spareBits = static_cast<int>(usedBytes * 8 - static_cast<std::int64_t>(width) * bits);
        if (spareBits > 0) {
            row[usedBytes - 1] &= static_cast<std::uint8_t>(0xFF << spareBits);
        }
    }
    return dib;
}

std::vector<std::uint8_t> WriteToMemory(const DibBlock& dib, int kind, ImageError& error) {
    VectorSink sink;
    WriteDibFile(sink, dib, kind, error);
    return sink.bytes;
}

DibBlock ReadFromMemory(const std::vector<std::uint8_t>& file, ImageError& error,
                        BitmapFileInfo* info) {
    MemorySource source(file);
    return ReadDibFile(source, 0, error, info);
}

::testing::AssertionResult SamePicture(const DibBlock& a, const DibBlock& b) {
    if (a.Empty() || b.Empty()) {
        return ::testing::AssertionFailure() << "an empty DIB";
    }
    BitmapInfoHeader ha = a.Header(), hb = b.Header();
    if (ha.width != hb.width || ha.height != hb.height || ha.bitCount != hb.bitCount ||
        ha.compression != hb.compression || ha.planes != hb.planes) {
        return ::testing::AssertionFailure()
               << "headers differ: " << ha.width << "x" << ha.height << "x" << ha.bitCount << " vs "
               << hb.width << "x" << hb.height << "x" << hb.bitCount;
    }
    if (a.ColourTable() != b.ColourTable()) {
        return ::testing::AssertionFailure() << "colour tables differ";
    }
    const std::int64_t used = (static_cast<std::int64_t>(ha.width) * ha.bitCount + 7) / 8;
    for (std::int32_t y = 0; y < ha.height; ++y) {
        if (std::memcmp(a.Row(y), b.Row(y), static_cast<std::size_t>(used)) != 0) {
            return ::testing::AssertionFailure() << "row " << y << " (from the bottom) differs";
        }
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult SameColours(const DibBlock& a, const DibBlock& b) {
    BitmapInfoHeader ha = a.Header(), hb = b.Header();
    if (ha.width != hb.width || ha.height != hb.height) {
        return ::testing::AssertionFailure() << "sizes differ";
    }
    for (std::int32_t y = 0; y < ha.height; ++y) {
        for (std::int32_t x = 0; x < ha.width; ++x) {
            RgbQuad pa = a.Pixel(x, y), pb = b.Pixel(x, y);
            pa.reserved = pb.reserved = 0;
            if (!(pa == pb)) {
                return ::testing::AssertionFailure()
                       << "pixel " << x << "," << y << ": " << int(pa.red) << "," << int(pa.green)
                       << "," << int(pa.blue) << " vs " << int(pb.red) << "," << int(pb.green)
                       << "," << int(pb.blue);
            }
        }
    }
    return ::testing::AssertionSuccess();
}

ScratchDir::ScratchDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "korva-imaging-XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (!mkdtemp(name.data())) {
        throw std::runtime_error("cannot make a scratch directory");
    }
    dir_ = name.data();
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
}

std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

int Run(const std::string& command) {
    int status = std::system((command + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void Picture::WritePpm(const std::string& path) const {
    std::string header = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    std::vector<std::uint8_t> bytes(header.begin(), header.end());
    for (const Rgb& p : pixels) {
        bytes.insert(bytes.end(), {p.r, p.g, p.b});
    }
    WriteWholeFile(path, bytes);
}

Picture MakePicture(int colours, int width, int height) {
    Picture picture{width, height, {}};
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

std::vector<std::uint8_t> ImageMagickFile(const Picture& picture, const std::string& options,
                                          const std::string& type) {
    ScratchDir scratch;
    const std::string in = scratch.Path("in.ppm");
    const std::string out = scratch.Path("out");
    picture.WritePpm(in);
    const int status =
        Run(std::string(KORVA_CONVERT) + " " + in + " " + options + " " + type + ":" + out);
    EXPECT_EQ(status, 0) << "convert " << options << " " << type;
    return ReadWholeFile(out);
}

::testing::AssertionResult SamePixels(const Picture& picture, const DibBlock& dib,
                                      const std::vector<int>& rows) {
    if (dib.Empty()) {
        return ::testing::AssertionFailure() << "nothing decoded";
    }
    if (dib.Header().width != picture.width || dib.Header().height != picture.height) {
        return ::testing::AssertionFailure()
               << "size " << dib.Header().width << "x" << dib.Header().height;
    }
    for (int y = 0; y < picture.height; ++y) {
        const int source = rows.empty() ? y : rows[static_cast<std::size_t>(y)];
        for (int x = 0; x < picture.width; ++x) {
            RgbQuad got = dib.Pixel(x, y);
            Rgb want = picture.At(x, source);
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

} // namespace imagingtest
