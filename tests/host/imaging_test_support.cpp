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

} // namespace imagingtest
