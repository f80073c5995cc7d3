// Reader of the description file "db.dat": two version bytes, then tagged items to the end
// of the file (all numbers little-endian).
#pragma once

#include "db_description.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace korva {

// Where the bytes of a description come from.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Reads up to `size` bytes; returns how many were read. Fewer than asked means the end of
    // the data or a read error.
    virtual std::size_t Read(void* buffer, std::size_t size) = 0;
    // True after a read error (as opposed to the end of the data).
    virtual bool Failed() const { return false; }
};

class MemoryByteSource : public ByteSource {
public:
    MemoryByteSource(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::size_t Read(void* buffer, std::size_t size) override;

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

// An open file, closed when the source ends.
class FileByteSource : public ByteSource {
public:
    FileByteSource() = default;
    FileByteSource(const FileByteSource&) = delete;
    FileByteSource& operator=(const FileByteSource&) = delete;
    ~FileByteSource() override;

    // Opens `path` (backslashes separate directories on every host) for reading: 0, or 4 when
    // the file or its directory does not exist, or 5 when it exists but cannot be opened.
    std::int32_t Open(const std::string& path);
    std::size_t Read(void* buffer, std::size_t size) override;
    bool Failed() const override;

private:
    std::FILE* file_ = nullptr;
};

// Reads a whole description from `source` into `target`: 0, 5 or 25. Items update `target`
// only when the whole description was read (result 0); with 25 only the two version bytes
// are taken; with 5 `target` is left as it was, so no half-read value is ever shown.
std::int32_t ReadDescriptionFrom(ByteSource& source, DbDescription& target);

} // namespace korva
