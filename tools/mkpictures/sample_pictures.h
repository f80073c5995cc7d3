// The pictures of the sample CD: a cover for each of the three screen sizes, the menu
// background and the metafile cover. Each bitmap is a grid of 4 × 3 flat cells whose
// colours differ from picture to picture, so that a screenshot shows which one is painted.
#pragma once

#include "imaging/portable/dib.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace korva {

constexpr int kCellColumns = 4;
constexpr int kCellRows = 3;

struct SampleBitmap {
    const char* name;
    std::int32_t width;
    std::int32_t height;
    std::uint16_t bits;
    int kind;                            // bitmap file kind, 0 to 3
    std::array<std::uint32_t, 12> cells; // 0xRRGGBB, row by row from the top left
};

const std::vector<SampleBitmap>& SampleBitmaps();

// A grid picture of 1, 4, 8 or 24 bits; palette depths hold the cell colours first.
DibBlock CellPicture(std::int32_t width, std::int32_t height, std::uint16_t bits,
                     const std::array<std::uint32_t, 12>& cells);

// The cover drawing "korva.wmf" in logical units of 0 to 800: a blue rectangle over the top
// and a red ellipse below it, both outlined in black, on no background of its own.
std::vector<std::uint8_t> CoverDrawing();

} // namespace korva
