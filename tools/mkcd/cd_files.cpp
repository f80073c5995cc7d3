#include "cd_files.h"

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
