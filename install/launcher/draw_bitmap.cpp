#include "install/launcher/draw_bitmap.h"

#include "framework/handles.h"
#include "imaging/dib_gdi.h"

void DrawBitmap(HDC dc, HBITMAP bitmap, HPALETTE palette, int x, int y, int width, int height) {
    BITMAP description{};
    if (!bitmap || !GetObjectA(bitmap, sizeof description, &description)) {
        return;
    }
    fw::UniqueMemoryDc memory(CreateCompatibleDC(nullptr));
    if (!memory) {
        return;
    }
    fw::SelectObjectScope selected(memory.Get(), bitmap);
    korva::PaletteScope source(memory.Get(), palette, false);
    korva::PaletteScope target(dc, palette, true);
    if (width != 0) {
        StretchBlt(dc, x, y, width, height, memory.Get(), 0, 0, description.bmWidth,
                   description.bmHeight, SRCCOPY);
    } else {
        BitBlt(dc, x, y, description.bmWidth, description.bmHeight, memory.Get(), 0, 0, SRCCOPY);
    }
}
