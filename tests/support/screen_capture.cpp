#include "screen_capture.h"

#include <cstdio>

namespace robot {

std::uint32_t Pixels::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) {
        return 0xFF000000;
    }
    return pixels[static_cast<std::size_t>(y) * width + x];
}

Pixels BitmapPixels(HDC dc, HBITMAP bitmap) {
    Pixels read;
    BITMAP description{};
    if (!GetObjectA(bitmap, sizeof description, &description)) {
        return read;
    }
    read.width = description.bmWidth;
    read.height = description.bmHeight;
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = read.width;
    header.biHeight = -read.height; // top row first
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    read.pixels.resize(static_cast<std::size_t>(read.width) * read.height);
    GetDIBits(dc, bitmap, 0, static_cast<UINT>(read.height), read.pixels.data(),
              reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    for (std::uint32_t& p : read.pixels) {
        p &= 0xFFFFFF;
    }
    return read;
}

Pixels CaptureScreen() {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    Pixels shot = BitmapPixels(memory, bitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return shot;
}

bool SaveScreenshot(const std::string& path) {
    const Pixels shot = CaptureScreen();
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
