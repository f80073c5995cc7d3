// Writing the files of the sample CD: text files with CR LF line ends and binary files with
// deterministic contents, so that the same build always gives the same CD.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace mkcd {

namespace fs = std::filesystem;

void WriteText(const fs::path& path, const std::string& text);
void WriteBinary(const fs::path& path, const std::string& bytes);
// `size` bytes of a repeatable pseudo-random sequence chosen by `seed`.
void WriteBytes(const fs::path& path, std::uintmax_t size, std::uint32_t seed);
// A small 8-bit Windows bitmap of a colour ramp.
void WriteBitmap(const fs::path& path, int width, int height, std::uint32_t seed);

// A small Windows icon file, the disc's own icon.
void WriteIcon(const fs::path& path);

// Sum of the sizes of the regular files directly in `dir`.
std::uintmax_t DirectoryBytes(const fs::path& dir);

// Writes an INFO description file whose own size is part of the byte total it declares:
// `bytesKey` = otherBytes + the file's own size, `megabytesKey` = that total in megabytes,
// rounded up.
void WriteSizeDescription(const fs::path& path, const char* megabytesKey, const char* bytesKey,
                          std::uintmax_t otherBytes);

} // namespace mkcd
