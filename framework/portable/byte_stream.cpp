#include "framework/portable/byte_stream.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

namespace korva {

std::size_t ReadPieces(ByteSource& source, void* buffer, std::size_t size) {
    auto* out = static_cast<std::uint8_t*>(buffer);
    std::size_t done = 0;
    while (done < size) {
        std::size_t piece = std::min(size - done, kMaxTransfer);
        std::size_t got = source.Read(out + done, piece);
        done += got;
        if (got < piece) {
            break;
        }
    }
    return done;
}

bool WritePieces(ByteSink& sink, const void* data, std::size_t size) {
    const auto* in = static_cast<const std::uint8_t*>(data);
    for (std::size_t done = 0; done < size;) {
        std::size_t piece = std::min(size - done, kMaxTransfer);
        if (!sink.Write(in + done, piece)) {
            return false;
        }
        done += piece;
    }
    return true;
}

std::size_t MemorySource::Read(void* buffer, std::size_t size) {
    std::size_t available = position_ < bytes_.size() ? bytes_.size() - position_ : 0;
    std::size_t count = std::min(size, available);
    if (count > 0) {
        std::memcpy(buffer, bytes_.data() + position_, count);
        position_ += count;
    }
    return count;
}

bool MemorySource::Seek(std::uint64_t offset) {
    // Like a file, the position may lie beyond the end; reads there return nothing.
    position_ = static_cast<std::size_t>(std::min<std::uint64_t>(offset, SIZE_MAX));
    return true;
}

std::size_t StdioSource::Read(void* buffer, std::size_t size) {
    return std::fread(buffer, 1, size, file_);
}

bool StdioSource::Seek(std::uint64_t offset) {
    if (offset > static_cast<std::uint64_t>(LONG_MAX)) {
        return false;
    }
    return std::fseek(file_, static_cast<long>(offset), SEEK_SET) == 0;
}

std::uint64_t StdioSource::Position() const {
    long position = std::ftell(file_);
    return position < 0 ? 0 : static_cast<std::uint64_t>(position);
}

std::uint64_t StdioSource::Length() {
    long here = std::ftell(file_);
    if (here < 0 || std::fseek(file_, 0, SEEK_END) != 0) {
        return 0;
    }
    long end = std::ftell(file_);
    std::fseek(file_, here, SEEK_SET);
    return end < 0 ? 0 : static_cast<std::uint64_t>(end);
}

bool VectorSink::Write(const void* data, std::size_t size) {
    const auto* in = static_cast<const std::uint8_t*>(data);
    bytes.insert(bytes.end(), in, in + size);
    return true;
}

bool StdioSink::Write(const void* data, std::size_t size) {
    return std::fwrite(data, 1, size, file_) == size;
}

bool StdioFile::Close() {
    if (!file_) {
        return true;
    }
    bool ok = std::fclose(file_) == 0;
    file_ = nullptr;
    return ok;
}

bool StdioSource::Failed() const {
    return std::ferror(file_) != 0;
}

} // namespace korva
