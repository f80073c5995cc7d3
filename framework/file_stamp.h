// What identifies one state of a file: whether it is there, which file it is and when and how
// long it was last written. A step compares the stamps before and after to know whether it
// created or replaced a file.
#pragma once

#include <cstdint>
#include <string>

namespace fw {

struct FileStamp {
    bool exists = false;
    std::uint32_t volume = 0;
    std::uint64_t index = 0;
    std::uint64_t size = 0;
    std::uint64_t written = 0;

    bool operator==(const FileStamp&) const = default;
};

// The stamp of `path` (a file or a directory); `exists` is false when it cannot be opened.
FileStamp StampOf(const std::string& path);

} // namespace fw
