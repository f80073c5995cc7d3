#include "imaging/portable/colour_reduction.h"

#include <array>
#include <cstdlib>

namespace korva {

int NearestColourIndex(const RgbQuad& colour, std::span<const RgbQuad> palette) {
    int best = 0;
    int bestDistance = -1;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const RgbQuad& p = palette[i];
        int distance = std::abs(colour.red - p.red) + std::abs(colour.green - p.green) +
                       std::abs(colour.blue - p.blue);
        // Strictly smaller only: on equal distances the lower index stays.
        if (bestDistance < 0 || distance < bestDistance) {
            best = static_cast<int>(i);
            bestDistance = distance;
        }
    }
    return best;
}

std::vector<std::uint8_t> ReduceTo16Colours(const DibBlock& dib8,
                                            std::span<const RgbQuad, 16> palette) {
    const BitmapInfoHeader header = dib8.Header();
    BitmapInfoHeader reduced = header;
    reduced.bitCount = 4;
    const std::int64_t rowSize = RowSize(reduced);
    std::vector<std::uint8_t> pixels;
    if (header.bitCount != 8 || rowSize <= 0 || header.height <= 0) {
        return pixels;
    }
    pixels.assign(static_cast<std::size_t>(rowSize * header.height), 0);

    const std::vector<RgbQuad> sourceTable = dib8.ColourTable();
    std::array<int, 256> map;
    map.fill(-1);
    auto lookUp = [&](std::uint8_t index) {
        if (map[index] < 0) {
            // An index beyond the source table has no colour of its own: it counts as black.
            RgbQuad colour = index < sourceTable.size() ? sourceTable[index] : RgbQuad{};
            map[index] = NearestColourIndex(colour, palette);
        }
        return static_cast<std::uint8_t>(map[index]);
    };

    for (std::int32_t row = 0; row < header.height; ++row) {
        const std::uint8_t* in = dib8.Row(row);
        std::uint8_t* out = pixels.data() + row * rowSize;
        if (!in) {
            break;
        }
        for (std::int32_t x = 0; x < header.width; ++x) {
            std::uint8_t nibble = lookUp(in[x]);
            out[x / 2] |= (x % 2 == 0) ? static_cast<std::uint8_t>(nibble << 4) : nibble;
        }
    }
    return pixels;
}

} // namespace korva
