// Screenshots compared with pictures: what a window shows against the picture file that it
// should show, stretched over a screen rectangle.
#pragma once

#include "imaging/portable/dib.h"
#include "tests/support/screen_capture.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

// The whole screen at one moment, as 0xRRGGBB values.
class Screenshot {
public:
    Screenshot() : shot_(robot::CaptureScreen()) {}
    int Width() const { return shot_.width; }
    int Height() const { return shot_.height; }
    // 0xFF000000, no colour, off the screen.
    std::uint32_t At(int x, int y) const { return shot_.At(x, y); }

private:
    robot::Pixels shot_;
};

// A picture file of the CD decoded with the installer's own reader; empty when unreadable.
korva::DibBlock ReadPictureFile(const std::string& path);
std::uint32_t Rgb(const korva::RgbQuad& colour);

// The screen rectangle of a window's client area.
RECT ClientRectOnScreen(HWND window);
// Screen rectangles of the window's visible children and of other windows in front.
std::vector<RECT> ChildRects(HWND window);

// Points of a `columns` × `rows` grid of cell centres inside `area`, as fractions of it.
struct Sample {
    double fx;
    double fy;
};
std::vector<Sample> GridSamples(int columns, int rows);

// Compares `area` of the screen with `picture` stretched over it at the sample points,
// skipping points inside `hidden`. Retries until the time-out, since painting is
// asynchronous; the message says what differed.
::testing::AssertionResult ShowsPicture(const RECT& area, const korva::DibBlock& picture,
                                        const std::vector<Sample>& samples,
                                        const std::vector<RECT>& hidden, DWORD timeoutMs = 5000);
// Every sample point outside `hidden` has the colour `rgb`.
::testing::AssertionResult ShowsColour(const RECT& area, std::uint32_t rgb,
                                       const std::vector<Sample>& samples,
                                       const std::vector<RECT>& hidden, DWORD timeoutMs = 5000);
// Single screen points with their colours.
struct ExpectedPoint {
    int x;
    int y;
    std::uint32_t rgb;
};
// Points inside `hidden` are skipped; fails when none is left to compare.
::testing::AssertionResult ShowsPoints(const std::vector<ExpectedPoint>& points,
                                       const std::vector<RECT>& hidden = {},
                                       DWORD timeoutMs = 5000);

} // namespace e2e
