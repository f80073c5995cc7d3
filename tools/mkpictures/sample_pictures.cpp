#include "tools/mkpictures/sample_pictures.h"

#include "imaging/portable/bitmap_file.h"
#include "tools/mkpictures/metafile_writer.h"

namespace korva {

const std::vector<SampleBitmap>& SampleBitmaps() {
    static const std::vector<SampleBitmap> pictures = {
        {"cover1.bmp",
         160,
         120,
         8,
         kKindWindows,
         {0x800000, 0xC00000, 0xFF2020, 0xFF8080, 0xA04000, 0xE06000, 0xFF9040, 0xFFC090, 0x602020,
          0x903030, 0xC05050, 0xF07070}},
        {"cover2.bmp",
         200,
         150,
         8,
         kKindVariantRCoded,
         {0x004000, 0x008000, 0x20C020, 0x80FF80, 0x406000, 0x609000, 0x90C040, 0xC0F090, 0x205020,
          0x307030, 0x50A050, 0x70D070}},
        {"cover3.bmp",
         256,
         192,
         24,
         kKindVariantP,
         {0x000080, 0x0000C0, 0x2020FF, 0x8080FF, 0x004080, 0x0060C0, 0x4090FF, 0x90C0FF, 0x202060,
          0x303090, 0x5050C0, 0x7070F0}},
        {"menu.bmp",
         220,
         80,
         4,
         kKindVariantR,
         {0x808000, 0xC0C000, 0xFFFF40, 0xFFFFA0, 0x806020, 0xA08030, 0xC0A050, 0xE0C070, 0x404040,
          0x606060, 0x909090, 0xD0D0D0}},
    };
    return pictures;
}

DibBlock CellPicture(std::int32_t width, std::int32_t height, std::uint16_t bits,
                     const std::array<std::uint32_t, 12>& cells) {
    DibBlock dib = MakeDib(width, height, bits);
    if (dib.Empty()) {
        return dib;
    }
    const std::int64_t colours = ColourCount(dib.Header());
    for (std::int64_t i = 0; i < colours; ++i) {
        std::uint8_t* q = dib.Data() + kInfoHeaderSize + 4 * i;
        std::uint32_t rgb = i < 12 ? cells[static_cast<std::size_t>(i)]
                                   : 0x010101u * static_cast<std::uint32_t>(i * 255 / colours);
        q[0] = static_cast<std::uint8_t>(rgb);
        q[1] = static_cast<std::uint8_t>(rgb >> 8);
        q[2] = static_cast<std::uint8_t>(rgb >> 16);
    }
    for (std::int32_t y = 0; y < height; ++y) {
        std::uint8_t* row = dib.Row(height - 1 - y); // rows are stored bottom first
        const int cellRow = y * kCellRows / height;
        for (std::int32_t x = 0; x < width; ++x) {
            const int cell = cellRow * kCellColumns + x * kCellColumns / width;
            const std::uint32_t rgb = cells[static_cast<std::size_t>(cell)];
            switch (bits) {
            case 1:
                row[x / 8] |= static_cast<std::uint8_t>((cell & 1) << (7 - x % 8));
                break;
            case 4:
                row[x / 2] |= static_cast<std::uint8_t>(x % 2 ? cell : cell << 4);
                break;
            case 8:
                row[x] = static_cast<std::uint8_t>(cell);
                break;
            default:
                row[3 * x] = static_cast<std::uint8_t>(rgb);
                row[3 * x + 1] = static_cast<std::uint8_t>(rgb >> 8);
                row[3 * x + 2] = static_cast<std::uint8_t>(rgb >> 16);
                break;
            }
        }
    }
    return dib;
}

std::vector<std::uint8_t> CoverDrawing() {
    MetafileWriter drawing;
    drawing.SolidPen(0x000000, 1);
    drawing.SolidBrush(0xFF0000); // blue, as 0x00BBGGRR
    drawing.Rectangle(100, 100, 700, 350);
    drawing.SolidBrush(0x0000FF); // red
    drawing.Ellipse(200, 450, 600, 750);
    return drawing.Plain();
}

} // namespace korva
