#include <gtest/gtest.h>

#include "tests/support/screen_check.h"

#include "imaging/portable/bitmap_file.h"
#include "robot.h"
#include "screen_capture.h"

#include <cstdio>
#include <functional>
#include <sstream>
#include <utility>

namespace e2e {

korva::DibBlock ReadPictureFile(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        return {};
    }
    korva::StdioSource source(file);
    korva::ImageError error;
    korva::DibBlock dib = korva::ReadDibFile(source, 0, error);
    std::fclose(file);
    return dib;
}

std::uint32_t Rgb(const korva::RgbQuad& colour) {
    return (static_cast<std::uint32_t>(colour.red) << 16) | (colour.green << 8) | colour.blue;
}

RECT ClientRectOnScreen(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    OffsetRect(&client, origin.x, origin.y);
    return client;
}

namespace {

BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
    if (IsWindowVisible(child)) {
        RECT rect;
        GetWindowRect(child, &rect);
        reinterpret_cast<std::vector<RECT>*>(param)->push_back(rect);
    }
    return TRUE;
}

bool Inside(const std::vector<RECT>& hidden, int x, int y) {
    for (const RECT& r : hidden) {
        // A margin of two pixels: borders and shadows of what lies in front.
        if (x >= r.left - 2 && x < r.right + 2 && y >= r.top - 2 && y < r.bottom + 2) {
            return true;
        }
    }
    return false;
}

std::string Hex(std::uint32_t rgb) {
    char text[16];
    std::snprintf(text, sizeof text, "%06X", static_cast<unsigned>(rgb));
    return text;
}

// Runs `compare` on fresh screenshots until it reports nothing or the time runs out.
::testing::AssertionResult Retry(const std::function<std::string(const Screenshot&)>& compare,
                                 DWORD timeoutMs) {
    std::string problems;
    if (robot::WaitUntil(
            [&] {
                problems = compare(Screenshot());
                return problems.empty();
            },
            timeoutMs)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << problems;
}

} // namespace

std::vector<RECT> ChildRects(HWND window) {
    std::vector<RECT> rects;
    EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&rects));
    return rects;
}

std::vector<Sample> GridSamples(int columns, int rows) {
    std::vector<Sample> samples;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            samples.push_back({(c + 0.5) / columns, (r + 0.5) / rows});
        }
    }
    return samples;
}

::testing::AssertionResult ShowsPicture(const RECT& area, const korva::DibBlock& picture,
                                        const std::vector<Sample>& samples,
                                        const std::vector<RECT>& hidden, DWORD timeoutMs) {
    if (picture.Empty()) {
        return ::testing::AssertionFailure() << "no picture to compare with";
    }
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    return Retry(
        [&](const Screenshot& shot) {
            std::ostringstream problems;
            int compared = 0;
            for (const Sample& s : samples) {
                const int x = area.left + static_cast<int>(s.fx * width);
                const int y = area.top + static_cast<int>(s.fy * height);
                if (Inside(hidden, x, y)) {
                    continue;
                }
                ++compared;
                const std::uint32_t want =
                    Rgb(picture.Pixel(static_cast<int>(s.fx * picture.Header().width),
                                      static_cast<int>(s.fy * picture.Header().height)));
                if (shot.At(x, y) != want) {
                    problems << " at " << x << "," << y << ": " << Hex(shot.At(x, y)) << " not "
                             << Hex(want);
                }
            }
            if (compared < static_cast<int>(samples.size()) / 2) {
                problems << " only " << compared << " of " << samples.size() << " points visible";
            }
            return problems.str();
        },
        timeoutMs);
}

::testing::AssertionResult ShowsColour(const RECT& area, std::uint32_t rgb,
                                       const std::vector<Sample>& samples,
                                       const std::vector<RECT>& hidden, DWORD timeoutMs) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    return Retry(
        [&](const Screenshot& shot) {
            std::ostringstream problems;
            for (const Sample& s : samples) {
                const int x = area.left + static_cast<int>(s.fx * width);
                const int y = area.top + static_cast<int>(s.fy * height);
                if (!Inside(hidden, x, y) && shot.At(x, y) != rgb) {
                    problems << " at " << x << "," << y << ": " << Hex(shot.At(x, y)) << " not "
                             << Hex(rgb);
                }
            }
            return problems.str();
        },
        timeoutMs);
}

::testing::AssertionResult ShowsPoints(const std::vector<ExpectedPoint>& points,
                                       const std::vector<RECT>& hidden, DWORD timeoutMs) {
    return Retry(
        [&](const Screenshot& shot) {
            std::ostringstream problems;
            int compared = 0;
            for (const ExpectedPoint& p : points) {
                if (Inside(hidden, p.x, p.y)) {
                    continue;
                }
                ++compared;
                if (shot.At(p.x, p.y) != p.rgb) {
                    problems << " at " << p.x << "," << p.y << ": " << Hex(shot.At(p.x, p.y))
                             << " not " << Hex(p.rgb);
                }
            }
            return problems.str();
        },
        timeoutMs);
}

} // namespace e2e
