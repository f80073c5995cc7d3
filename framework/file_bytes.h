// Whole files read and compared through the platform, in bounded chunks.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace fw {

// The bytes of the file `path`; none when it cannot be opened or read whole, or when it holds
// more than `limit` bytes.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path,
                                                       std::uint32_t limit);

// True when `path` is a file that holds exactly `expected`, byte for byte.
bool FileHolds(const std::string& path, std::span<const std::uint8_t> expected);

// True when the file `path` is not empty and holds the first bytes of `whole`, or of the file
// `wholePath` (a copy of it cut short).
bool FileBegins(const std::string& path, std::span<const std::uint8_t> whole);
bool FileBeginsFile(const std::string& path, const std::string& wholePath);

} // namespace fw
