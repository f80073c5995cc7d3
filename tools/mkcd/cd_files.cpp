#include "tools/mkcd/cd_files.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace mkcd {

namespace {

void WriteRaw(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

std::string ToCrLf(const std::string& text) {
    std::string crlf;
    for (char c : text) {
        if (c == '\n') {
            crlf += '\r';
        }
        crlf += c;
    }
    return crlf;
}

void PutLe(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

} // namespace

void WriteText(const fs::path& path, const std::string& text) {
    WriteRaw(path, ToCrLf(text));
}

void WriteBinary(const fs::path& path, const std::string& bytes) {
    WriteRaw(path, bytes);
}

void WriteBytes(const fs::path& path, std::uintmax_t size, std::uint32_t seed) {
    std::string bytes(static_cast<std::size_t>(size), '\0');
    std::uint32_t state = seed * 2654435761u + 1u;
    for (char& b : bytes) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        b = static_cast<char>(state & 0xFF);
    }
    WriteRaw(path, bytes);
}

void WriteBitmap(const fs::path& path, int width, int height, std::uint32_t seed) {
    const std::uint32_t stride = (static_cast<std::uint32_t>(width) + 3) & ~3u;
    const std::uint32_t pixelBytes = stride * static_cast<std::uint32_t>(height);
    const std::uint32_t offset = 14 + 40 + 256 * 4;
    std::string out;
    out += "BM";
    PutLe(out, offset + pixelBytes, 4);
    PutLe(out, 0, 4);
    PutLe(out, offset, 4);
    PutLe(out, 40, 4);
    PutLe(out, static_cast<std::uint32_t>(width), 4);
    PutLe(out, static_cast<std::uint32_t>(height), 4);
    PutLe(out, 1, 2);
    PutLe(out, 8, 2);
    PutLe(out, 0, 4);
    PutLe(out, pixelBytes, 4);
    PutLe(out, 2835, 4);
    PutLe(out, 2835, 4);
    PutLe(out, 256, 4);
    PutLe(out, 0, 4);
    for (std::uint32_t i = 0; i < 256; ++i) {
        out.push_back(static_cast<char>(i));
        out.push_back(static_cast<char>((i + seed * 40) & 0xFF));
        out.push_back(static_cast<char>(255 - i));
        out.push_back(0);
    }
    for (int y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < stride; ++x) {
            out.push_back(static_cast<char>((x + static_cast<std::uint32_t>(y) + seed) & 0xFF));
        }
    }
    WriteRaw(path, out);
}

void WriteIcon(const fs::path& path) {
    // One 32x32 image of 16 colours: a road crossing a green field in a white frame.
    constexpr int kSize = 32;
    const std::uint32_t palette[16] = {0x000000, 0x2E8B3A, 0xFFFFFF, 0x606060, 0xF0C020};
    const std::uint32_t xorBytes = kSize * kSize / 2;
    const std::uint32_t andBytes = kSize * 4;
    const std::uint32_t imageBytes = 40 + 16 * 4 + xorBytes + andBytes;
    std::string out;
    PutLe(out, 0, 2); // reserved
    PutLe(out, 1, 2); // an icon
    PutLe(out, 1, 2); // one image
    out.push_back(static_cast<char>(kSize));
    out.push_back(static_cast<char>(kSize));
    out.push_back(16); // colours
    out.push_back(0);
    PutLe(out, 1, 2); // planes
    PutLe(out, 4, 2); // bits per pixel
    PutLe(out, imageBytes, 4);
    PutLe(out, 6 + 16, 4); // offset of the image
    PutLe(out, 40, 4);
    PutLe(out, kSize, 4);
    PutLe(out, kSize * 2, 4); // the colour rows and the mask rows
    PutLe(out, 1, 2);
    PutLe(out, 4, 2);
    PutLe(out, 0, 4);
    PutLe(out, xorBytes + andBytes, 4);
    PutLe(out, 0, 4);
    PutLe(out, 0, 4);
    PutLe(out, 16, 4);
    PutLe(out, 0, 4);
    for (std::uint32_t colour : palette) {
        PutLe(out, colour, 4); // blue, green, red, 0
    }
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; x += 2) {
            auto pixel = [&](int px) {
                if (px < 2 || y < 2 || px >= kSize - 2 || y >= kSize - 2) {
                    return 2; // frame
                }
                const bool road = std::abs(px - y) < 3 || std::abs(px + y - kSize) < 3;
                if (road) {
                    return std::abs(px - y) < 1 ? 4 : 3; // a yellow line on grey
                }
                return 1;
            };
            out.push_back(static_cast<char>(pixel(x) << 4 | pixel(x + 1)));
        }
    }
    out.append(andBytes, '\0'); // every pixel opaque
    WriteRaw(path, out);
}

std::uintmax_t DirectoryBytes(const fs::path& dir) {
    std::uintmax_t total = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.is_regular_file()) {
            total += entry.file_size();
        }
    }
    return total;
}

void WriteSizeDescription(const fs::path& path, const char* megabytesKey, const char* bytesKey,
                          std::uintmax_t otherBytes) {
    // The file's size depends on the number it holds: settle on a total that includes it.
    std::uintmax_t total = otherBytes;
    for (int attempt = 0; attempt < 4; ++attempt) {
        const std::uintmax_t megabytes = (total + 999999) / 1000000;
        const std::string text = "[INFO]\n" + std::string(megabytesKey) + "=" +
                                 std::to_string(megabytes) + "\n" + bytesKey + "=" +
                                 std::to_string(total) + "\n";
        const std::string crlf = ToCrLf(text);
        if (otherBytes + crlf.size() == total) {
            WriteRaw(path, crlf);
            return;
        }
        total = otherBytes + crlf.size();
    }
    throw std::runtime_error("cannot settle the size description " + path.string());
}

} // namespace mkcd
