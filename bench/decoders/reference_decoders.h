// The comparison libraries of the decoder benchmark (giflib, libtiff, stb_image), each used
// the fastest way it offers for reading a whole picture from memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace bench {

struct FreeBytes {
    void operator()(std::uint8_t* p) const { std::free(p); }
};
using Bytes = std::unique_ptr<std::uint8_t, FreeBytes>;

// A decoded picture as the library gives it: rows from the top, `channels` bytes per pixel
// (1: indices into `palette`, 3: red, green, blue; 4: and alpha), no padding.
struct Decoded {
    int width = 0;
    int height = 0;
    int channels = 0;
    std::vector<std::uint8_t> palette; // red, green, blue per entry
    Bytes pixels;
    // The same picture as a Windows bitmap holds it, when asked for (see AddWindowsRows).
    std::vector<std::uint8_t> windowsRows;

    bool Empty() const { return !pixels; }
    // Red, green and blue of the pixel at x, y from the top-left.
    void Colour(int x, int y, std::uint8_t rgb[3]) const;
};

// Empty on failure.
Decoded DecodeWithGiflib(std::span<const std::uint8_t> file);
Decoded DecodeWithLibtiff(std::span<const std::uint8_t> file);
Decoded DecodeWithStb(std::span<const std::uint8_t> file);

// Makes `windowsRows`: rows from the bottom, each padded to four bytes, pixels of three
// channels as blue, green, red. What a reader built on a library must add before the picture
// can be drawn, and what the project's readers produce directly.
void AddWindowsRows(Decoded& decoded);

// Library and version, for the log.
std::string LibraryVersions();

} // namespace bench
