// What the display shows: the whole screen read back at one moment.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace robot {

// The screen's pixels, top row first, as 0xRRGGBB values.
struct ScreenPixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

ScreenPixels CaptureScreen();
// Captures the whole screen into a 24-bit bitmap file.
bool SaveScreenshot(const std::string& path);

} // namespace robot
