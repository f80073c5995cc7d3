// GDI work behind CDib: palettes from colour tables, DIB <-> device-dependent bitmap on the
// screen's device context, and copying a screen area.
#pragma once

#include "framework/handles.h"
#include "imaging/portable/dib.h"
#include "imaging/portable/image_error.h"

#include <array>
#include <vector>

namespace korva {

// Selects a palette into a device context and realises it for a scope; a null palette
// leaves the context as it is.
class PaletteScope {
public:
    PaletteScope(HDC dc, HPALETTE palette, bool background);
    PaletteScope(const PaletteScope&) = delete;
    PaletteScope& operator=(const PaletteScope&) = delete;
    ~PaletteScope();

private:
    HDC dc_;
    HPALETTE old_ = nullptr;
};

// A logical palette (version 0x300) with one entry per colour, flags 0; null without colours.
fw::UniquePalette PaletteFromColourTable(const std::vector<RgbQuad>& colours);
// The first 16 entries of `palette`, or of the system palette without one, as RGBQUADs with
// each entry's flags as the fourth byte.
std::array<RgbQuad, 16> FirstSixteenColours(HPALETTE palette);

// A bitmap compatible with the screen from a packed DIB, through `palette` when given.
fw::UniqueBitmap BitmapFromDib(const std::uint8_t* packedDib, HPALETTE palette);
// A packed DIB in a global block from a bitmap: 1, 4, 8 or 24 bits by the bitmap's depth.
// On failure the code of `error` is -5 (no description, rows not read) or -4 (no memory);
// its text is left as it was.
fw::UniqueGlobal DibFromBitmap(HBITMAP bitmap, HPALETTE palette, ImageError& error);

// A copy of a screen area, cut at the screen's edges; null when nothing of it is on screen.
fw::UniqueBitmap CaptureScreen(const RECT& area);

} // namespace korva
