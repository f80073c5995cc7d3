// What the display shows: the whole screen read back at one moment, and bitmaps read back.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace robot {

// Pixels of the screen or of a bitmap, top row first, as 0xRRGGBB values.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    // 0xFF000000, no colour, for a point off the picture.
    std::uint32_t At(int x, int y) const;
};

Pixels CaptureScreen();
// The pixels of a bitmap with the colours `dc` gives them (a palette display's bitmap holds
// indices into the DC's palette); none when `bitmap` is no bitmap.
Pixels BitmapPixels(HDC dc, HBITMAP bitmap);
// Captures the whole screen into a 24-bit bitmap file.
bool SaveScreenshot(const std::string& path);

} // namespace robot
