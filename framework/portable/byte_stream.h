// Byte sources and sinks: the one contract every reader of the programs reads through (the
// image codecs, the road database's description reader) and the codecs write to, over a
// file or memory. The codecs never move more than kMaxTransfer bytes in one call, as the
// 16-bit file calls require.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

namespace korva {

constexpr std::size_t kMaxTransfer = 0x7FFF;

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Reads up to `size` bytes at the current position; returns how many were read.
    virtual std::size_t Read(void* buffer, std::size_t size) = 0;
    virtual bool Seek(std::uint64_t offset) = 0;
    virtual std::uint64_t Position() const = 0;
    virtual std::uint64_t Length() = 0;
    // True after a read error, as opposed to the end of the data.
    virtual bool Failed() const { return false; }
};

class ByteSink {
public:
    virtual ~ByteSink() = default;
    // Writes all `size` bytes or reports false.
    virtual bool Write(const void* data, std::size_t size) = 0;
};

// Reads `size` bytes in transfers of at most kMaxTransfer; returns the bytes read.
std::size_t ReadPieces(ByteSource& source, void* buffer, std::size_t size);
// Writes `size` bytes in transfers of at most kMaxTransfer; false on a short write.
bool WritePieces(ByteSink& sink, const void* data, std::size_t size);

class MemorySource : public ByteSource {
public:
    explicit MemorySource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::size_t Read(void* buffer, std::size_t size) override;
    bool Seek(std::uint64_t offset) override;
    std::uint64_t Position() const override { return position_; }
    std::uint64_t Length() override { return bytes_.size(); }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

// A C stream opened by the caller (binary mode); the caller closes it.
class StdioSource : public ByteSource {
public:
    explicit StdioSource(std::FILE* file) : file_(file) {}
    std::size_t Read(void* buffer, std::size_t size) override;
    bool Seek(std::uint64_t offset) override;
    std::uint64_t Position() const override;
    std::uint64_t Length() override;
    bool Failed() const override;

private:
    std::FILE* file_;
};

class VectorSink : public ByteSink {
public:
    bool Write(const void* data, std::size_t size) override;
    std::vector<std::uint8_t> bytes;
};

class StdioSink : public ByteSink {
public:
    explicit StdioSink(std::FILE* file) : file_(file) {}
    bool Write(const void* data, std::size_t size) override;

private:
    std::FILE* file_;
};

// Owns a C stream; closes it at the end of the scope.
class StdioFile {
public:
    StdioFile(const std::string& path, const char* mode) : file_(std::fopen(path.c_str(), mode)) {}
    StdioFile(const StdioFile&) = delete;
    StdioFile& operator=(const StdioFile&) = delete;
    ~StdioFile() { Close(); }
    std::FILE* Get() const { return file_; }
    explicit operator bool() const { return file_ != nullptr; }
    // Closes the stream; false when buffered data could not be written.
    bool Close();

private:
    std::FILE* file_;
};

// Little-endian fields of the file formats.
inline std::uint16_t GetLe16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t GetLe32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline void PutLe16(std::uint8_t* p, std::uint32_t value) {
    p[0] = static_cast<std::uint8_t>(value);
    p[1] = static_cast<std::uint8_t>(value >> 8);
}
inline void PutLe32(std::uint8_t* p, std::uint32_t value) {
    PutLe16(p, value);
    PutLe16(p + 2, value >> 16);
}

} // namespace korva
