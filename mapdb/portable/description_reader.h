// Reader of the description file "db.dat": two version bytes, then tagged items to the end
// of the file (all numbers little-endian).
#pragma once

#include "framework/portable/byte_stream.h"
#include "mapdb/portable/db_description.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace korva {

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
    std::size_t Read(void* buffer, std::size_t size) override { return stream_.Read(buffer, size); }
    bool Seek(std::uint64_t offset) override { return stream_.Seek(offset); }
    std::uint64_t Position() const override { return stream_.Position(); }
    std::uint64_t Length() override { return stream_.Length(); }
    bool Failed() const override { return stream_.Failed(); }

private:
    std::FILE* file_ = nullptr;
    StdioSource stream_{nullptr}; // reads the file once it is open
};

// Reads a whole description from `source` into `target`: 0, 5 or 25. Items update `target`
// only when the whole description was read (result 0); with 25 only the two version bytes
// are taken; with 5 `target` is left as it was, so no half-read value is ever shown.
std::int32_t ReadDescriptionFrom(ByteSource& source, DbDescription& target);

} // namespace korva
