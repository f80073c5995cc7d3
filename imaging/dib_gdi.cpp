#include "imaging/dib_gdi.h"

#include "imaging/global_dib.h"
#include "imaging/portable/image_error.h"

#include <algorithm>
#include <cstddef>

namespace korva {

PaletteScope::PaletteScope(HDC dc, HPALETTE palette, bool background) : dc_(dc) {
    if (palette) {
        old_ = SelectPalette(dc, palette, background ? TRUE : FALSE);
        RealizePalette(dc);
    }
}

PaletteScope::~PaletteScope() {
    if (old_) {
        SelectPalette(dc_, old_, TRUE);
    }
}

namespace {

// LOGPALETTE with room for `count` entries.
std::vector<std::uint8_t> LogPalette(std::size_t count) {
    std::vector<std::uint8_t> bytes(offsetof(LOGPALETTE, palPalEntry) +
                                    std::max<std::size_t>(count, 1) * sizeof(PALETTEENTRY));
    auto* log = reinterpret_cast<LOGPALETTE*>(bytes.data());
    log->palVersion = 0x300;
    log->palNumEntries = static_cast<WORD>(count);
    return bytes;
}

} // namespace

fw::UniquePalette PaletteFromColourTable(const std::vector<RgbQuad>& colours) {
    if (colours.empty()) {
        return {};
    }
    const std::size_t count = std::min<std::size_t>(colours.size(), 0xFFFF);
    std::vector<std::uint8_t> bytes = LogPalette(count);
    auto* log = reinterpret_cast<LOGPALETTE*>(bytes.data());
    for (std::size_t i = 0; i < count; ++i) {
        log->palPalEntry[i] = {colours[i].red, colours[i].green, colours[i].blue, 0};
    }
    return fw::UniquePalette(CreatePalette(log));
}

std::array<RgbQuad, 16> FirstSixteenColours(HPALETTE palette) {
    PALETTEENTRY entries[16] = {};
    if (palette) {
        GetPaletteEntries(palette, 0, 16, entries);
    } else {
        fw::WindowDc screen(nullptr);
        GetSystemPaletteEntries(screen.Get(), 0, 16, entries);
    }
    std::array<RgbQuad, 16> colours{};
    for (int i = 0; i < 16; ++i) {
        colours[i] = {entries[i].peBlue, entries[i].peGreen, entries[i].peRed, entries[i].peFlags};
    }
    return colours;
}

fw::UniqueBitmap BitmapFromDib(const std::uint8_t* packedDib, HPALETTE palette) {
    const BitmapInfoHeader header = BitmapInfoHeader::Parse(packedDib);
    const auto* info = reinterpret_cast<const BITMAPINFO*>(packedDib);
    fw::WindowDc screen(nullptr);
    PaletteScope realised(screen.Get(), palette, false);
    return fw::UniqueBitmap(CreateDIBitmap(screen.Get(), &info->bmiHeader, CBM_INIT,
                                           packedDib + PixelOffset(header), info, DIB_RGB_COLORS));
}

fw::UniqueGlobal DibFromBitmap(HBITMAP bitmap, HPALETTE palette, ImageError& error) {
    BITMAP description{};
    if (!bitmap || !GetObjectA(bitmap, sizeof description, &description)) {
        error.SetCode(kImageConversionFailed);
        return {};
    }
    const int bits = description.bmPlanes * description.bmBitsPixel;
    BitmapInfoHeader header;
    header.width = description.bmWidth;
    header.height = description.bmHeight;
    header.bitCount = bits <= 1 ? 1 : bits <= 4 ? 4 : bits <= 8 ? 8 : 24;
    const std::int64_t imageSize = RowSize(header) * header.height;
    const std::int64_t blockSize = BlockSize(header);
    if (header.width <= 0 || header.height <= 0) {
        error.SetCode(kImageConversionFailed);
        return {};
    }
    if (blockSize > static_cast<std::int64_t>(kMaxDibBlockSize)) {
        error.SetCode(kImageNoMemory);
        return {};
    }
    header.sizeImage = static_cast<std::uint32_t>(imageSize);
    fw::UniqueGlobal block(
        GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(blockSize)));
    LockedGlobal lock(block.Get());
    if (!lock.Data()) {
        error.SetCode(kImageNoMemory);
        return {};
    }
    header.Store(lock.Data());
    fw::WindowDc screen(nullptr);
    PaletteScope realised(screen.Get(), palette, false);
    if (!GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(header.height),
                   lock.Data() + PixelOffset(header), reinterpret_cast<BITMAPINFO*>(lock.Data()),
                   DIB_RGB_COLORS)) {
        error.SetCode(kImageConversionFailed);
        return {};
    }
    return block;
}

fw::UniqueBitmap CaptureScreen(const RECT& area) {
    fw::UniqueMemoryDc display(CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
    fw::UniqueMemoryDc memory(CreateCompatibleDC(display.Get()));
    if (!display || !memory) {
        return {};
    }
    const int left = std::max<LONG>(area.left, 0);
    const int top = std::max<LONG>(area.top, 0);
    const int width = std::min<LONG>(GetDeviceCaps(display.Get(), HORZRES), area.right) - left;
    const int height = std::min<LONG>(GetDeviceCaps(display.Get(), VERTRES), area.bottom) - top;
    if (width <= 0 || height <= 0) {
        return {};
    }
    fw::UniqueBitmap bitmap(CreateCompatibleBitmap(display.Get(), width, height));
    if (!bitmap) {
        return {};
    }
    {
        fw::SelectObjectScope selected(memory.Get(), bitmap.Get());
        BitBlt(memory.Get(), 0, 0, width, height, display.Get(), left, top, SRCCOPY);
    }
    return bitmap;
}

} // namespace korva
