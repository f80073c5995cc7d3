#include "framework/file_bytes.h"

#include "framework/handles.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

namespace fw {

namespace {

constexpr DWORD kChunk = 64 * 1024;

UniqueFileHandle OpenForReading(const std::string& path) {
    return UniqueFileHandle(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// The file's length when it is a plain file below 4 GiB.
std::optional<std::uint32_t> LengthOf(HANDLE file) {
    DWORD high = 0;
    const DWORD low = GetFileSize(file, &high);
    if ((low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) || high != 0) {
        return std::nullopt;
    }
    return low;
}

// Reads exactly `length` bytes into `buffer`.
bool ReadExactly(HANDLE file, std::uint8_t* buffer, DWORD length) {
    DWORD read = 0;
    return ReadFile(file, buffer, length, &read, nullptr) && read == length;
}

} // namespace

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path,
                                                       std::uint32_t limit) {
    UniqueFileHandle file = OpenForReading(path);
    if (!file) {
        return std::nullopt;
    }
    const std::optional<std::uint32_t> length = LengthOf(file.Get());
    if (!length || *length > limit) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(*length);
    for (std::uint32_t done = 0; done < *length;) {
        const DWORD part = std::min<std::uint32_t>(kChunk, *length - done);
        if (!ReadExactly(file.Get(), bytes.data() + done, part)) {
            return std::nullopt;
        }
        done += part;
    }
    return bytes;
}

bool FileHolds(const std::string& path, std::span<const std::uint8_t> expected) {
    UniqueFileHandle file = OpenForReading(path);
    if (!file) {
        return false;
    }
    const std::optional<std::uint32_t> length = LengthOf(file.Get());
    if (!length || *length != expected.size()) {
        return false;
    }
    std::vector<std::uint8_t> buffer(std::min<std::size_t>(kChunk, expected.size()));
    for (std::size_t done = 0; done < expected.size();) {
        const DWORD part =
            static_cast<DWORD>(std::min<std::size_t>(kChunk, expected.size() - done));
        if (!ReadExactly(file.Get(), buffer.data(), part) ||
            std::memcmp(buffer.data(), expected.data() + done, part) != 0) {
            return false;
        }
        done += part;
    }
    // Nothing may follow (the file could have grown since its length was taken).
    std::uint8_t extra = 0;
    DWORD read = 0;
    return ReadFile(file.Get(), &extra, 1, &read, nullptr) && read == 0;
}

bool FileBegins(const std::string& path, std::span<const std::uint8_t> whole) {
    UniqueFileHandle file = OpenForReading(path);
    const std::optional<std::uint32_t> length =
        file ? LengthOf(file.Get()) : std::optional<std::uint32_t>();
    if (!length || *length == 0 || *length > whole.size()) {
        return false;
    }
    std::vector<std::uint8_t> buffer(std::min<std::size_t>(kChunk, *length));
    for (std::uint32_t done = 0; done < *length;) {
        const DWORD part = std::min<std::uint32_t>(kChunk, *length - done);
        if (!ReadExactly(file.Get(), buffer.data(), part) ||
            std::memcmp(buffer.data(), whole.data() + done, part) != 0) {
            return false;
        }
        done += part;
    }
    return true;
}

bool FileBeginsFile(const std::string& path, const std::string& wholePath) {
    UniqueFileHandle file = OpenForReading(path);
    UniqueFileHandle whole = OpenForReading(wholePath);
    if (!file || !whole) {
        return false;
    }
    const std::optional<std::uint32_t> length = LengthOf(file.Get());
    const std::optional<std::uint32_t> wholeLength = LengthOf(whole.Get());
    if (!length || !wholeLength || *length == 0 || *length > *wholeLength) {
        return false;
    }
    std::vector<std::uint8_t> buffer(std::min<std::size_t>(kChunk, *length));
    std::vector<std::uint8_t> wholeBuffer(buffer.size());
    for (std::uint32_t done = 0; done < *length;) {
        const DWORD part = std::min<std::uint32_t>(kChunk, *length - done);
        if (!ReadExactly(file.Get(), buffer.data(), part) ||
            !ReadExactly(whole.Get(), wholeBuffer.data(), part) ||
            std::memcmp(buffer.data(), wholeBuffer.data(), part) != 0) {
            return false;
        }
        done += part;
    }
    return true;
}

} // namespace fw
