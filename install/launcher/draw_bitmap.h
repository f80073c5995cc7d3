// Draws a bitmap with its palette into a device context.
#pragma once

#include <windows.h>

// At x, y; stretched to width × height, or at its natural size when `width` is 0. The palette
// (may be null) is realised in the foreground of the bitmap's memory context and in the
// background of `dc`.
void DrawBitmap(HDC dc, HBITMAP bitmap, HPALETTE palette, int x, int y, int width, int height);
