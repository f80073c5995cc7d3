#include "imaging/lfile_stream.h"

#include <algorithm>

namespace korva {

fw::UniqueLFile OpenForReading(const std::string& path) {
    return fw::UniqueLFile(_lopen(path.c_str(), OF_READ | OF_SHARE_DENY_NONE));
}

fw::UniqueLFile CreateForWriting(const std::string& path) {
    return fw::UniqueLFile(_lcreat(path.c_str(), 0));
}

std::size_t LFileSource::Read(void* buffer, std::size_t size) {
    auto* out = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < size) {
        UINT piece = static_cast<UINT>(std::min(size - done, kMaxTransfer));
        UINT got = _lread(file_, out + done, piece);
        if (got == static_cast<UINT>(HFILE_ERROR) || got == 0) {
            break;
        }
        done += got;
    }
    return done;
}

bool LFileSource::Seek(std::uint64_t offset) {
    if (offset > 0x7FFFFFFF) {
        return false;
    }
    return _llseek(file_, static_cast<LONG>(offset), FILE_BEGIN) != HFILE_ERROR;
}

std::uint64_t LFileSource::Position() const {
    LONG here = _llseek(file_, 0, FILE_CURRENT);
    return here == HFILE_ERROR ? 0 : static_cast<std::uint64_t>(here);
}

std::uint64_t LFileSource::Length() {
    LONG here = _llseek(file_, 0, FILE_CURRENT);
    LONG end = _llseek(file_, 0, FILE_END);
    _llseek(file_, here, FILE_BEGIN);
    return end == HFILE_ERROR ? 0 : static_cast<std::uint64_t>(end);
}

bool LFileSink::Write(const void* data, std::size_t size) {
    const auto* in = static_cast<const char*>(data);
    for (std::size_t done = 0; done < size;) {
        UINT piece = static_cast<UINT>(std::min(size - done, kMaxTransfer));
        if (_lwrite(file_, in + done, piece) != piece) {
            return false;
        }
        done += piece;
    }
    return true;
}

} // namespace korva
