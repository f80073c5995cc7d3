#include "screen_capture.h"

#include <windows.h>

#include <cstdio>

namespace robot {

ScreenPixels CaptureScreen() {
    ScreenPixels shot;
    shot.width = GetSystemMetrics(SM_CXSCREEN);
    shot.height = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, shot.width, shot.height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, shot.width, shot.height, screen, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = shot.width;
    header.biHeight = -shot.height;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    shot.pixels.resize(static_cast<std::size_t>(shot.width) * shot.height);
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(shot.height), shot.pixels.data(),
              reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    for (std::uint32_t& p : shot.pixels) {
        p &= 0xFFFFFF;
    }
    return shot;
}

bool SaveScreenshot(const std::string& path) {
    const ScreenPixels shot = CaptureScreen();
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = shot.width;
    header.biHeight = shot.height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const std::size_t stride = ((static_cast<std::size_t>(shot.width) * 3 + 3) / 4) * 4;
    std::vector<unsigned char> rows(stride * static_cast<std::size_t>(shot.height));
    // Bottom-up rows of blue, green, red bytes.
    for (int y = 0; y < shot.height; ++y) {
        unsigned char* row = rows.data() + stride * static_cast<std::size_t>(shot.height - 1 - y);
        for (int x = 0; x < shot.width; ++x) {
            const std::uint32_t p = shot.pixels[static_cast<std::size_t>(y) * shot.width + x];
            row[3 * x] = static_cast<unsigned char>(p);
            row[3 * x + 1] = static_cast<unsigned char>(p >> 8);
            row[3 * x + 2] = static_cast<unsigned char>(p >> 16);
        }
    }

    BITMAPFILEHEADER fileHeader{};
    fileHeader.bfType = 0x4D42;
    fileHeader.bfOffBits = sizeof fileHeader + sizeof header;
    fileHeader.bfSize = fileHeader.bfOffBits + static_cast<DWORD>(rows.size());
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        return false;
    }
    bool ok = std::fwrite(&fileHeader, sizeof fileHeader, 1, file) == 1 &&
              std::fwrite(&header, sizeof header, 1, file) == 1 &&
              std::fwrite(rows.data(), rows.size(), 1, file) == 1;
    return std::fclose(file) == 0 && ok;
}

} // namespace robot
