#include "mapdb/portable/description_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace korva {

FileByteSource::~FileByteSource() {
    if (file_) {
        std::fclose(file_);
    }
}

std::int32_t FileByteSource::Open(const std::string& path) {
    std::string native = path;
#ifndef _WIN32
    // Paths are written the Windows way; elsewhere the separator is the slash.
    std::replace(native.begin(), native.end(), '\\', '/');
#endif
    errno = 0;
    file_ = std::fopen(native.c_str(), "rb");
    stream_ = StdioSource(file_);
    if (file_) {
        return kDescriptionRead;
    }
    return errno == ENOENT || errno == ENOTDIR ? kDescriptionMissing : kDescriptionUnreadable;
}

namespace {

// A read that must deliver every byte it asks for; the first shortfall ends the description
// as unreadable.
class ItemReader {
public:
    explicit ItemReader(ByteSource& source) : source_(source) {}

    bool Bytes(void* buffer, std::size_t size) { return source_.Read(buffer, size) == size; }

    template <typename T> bool Number(T& value) {
        std::uint8_t bytes[sizeof(T)];
        if (!Bytes(bytes, sizeof bytes)) {
            return false;
        }
        std::uint64_t result = 0;
        for (std::size_t i = sizeof(T); i-- > 0;) {
            result = (result << 8) | bytes[i];
        }
        value = static_cast<T>(result);
        return true;
    }

    bool Text(std::string& text) {
        std::uint16_t length = 0;
        if (!Number(length)) {
            return false;
        }
        std::string value(length, '\0');
        if (!Bytes(value.data(), length)) {
            return false;
        }
        text = std::move(value);
        return true;
    }

    // Reads the next tag: 1 when read, 0 at a clean end of the data, -1 when only part of a
    // tag is left or the source failed.
    int Tag(std::uint16_t& tag) {
        std::uint8_t bytes[2];
        std::size_t count = source_.Read(bytes, sizeof bytes);
        if (count == 0) {
            return source_.Failed() ? -1 : 0;
        }
        if (count != sizeof bytes) {
            return -1;
        }
        tag = static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
        return 1;
    }

private:
    ByteSource& source_;
};

bool ReadItem(ItemReader& in, std::uint16_t tag, DbDescription& d) {
    switch (tag) {
    case 0:
        return in.Number(d.word0);
    case 1:
        return in.Text(d.text1);
    case 2:
        return in.Text(d.editionName);
    case 3:
        return in.Number(d.updateFirst);
    case 4:
        return in.Number(d.updateSecond);
    case 5:
        return in.Number(d.byte5);
    case 6:
        return in.Number(d.byte6);
    case 13:
        return in.Number(d.word13);
    case 34:
        return in.Bytes(d.block34.data(), d.block34.size());
    case 35:
        return in.Text(d.text35);
    case 36:
        return in.Number(d.byte36);
    case 37:
        return in.Number(d.byte37);
    case 38:
        return in.Number(d.byte38);
    case 39:
        return in.Number(d.long39);
    default:
        break;
    }
    if (tag >= 7 && tag <= 12) {
        return in.Number(d.longs7[tag - 7]);
    }
    if (tag >= 14 && tag <= 19) {
        return in.Number(d.longs14[tag - 14]);
    }
    if (tag >= 20 && tag <= 23) {
        return in.Number(d.words20[tag - 20]);
    }
    if (tag >= 24 && tag <= 29) {
        return in.Number(d.longs24[tag - 24]);
    }
    if (tag >= 30 && tag <= 33) {
        return in.Number(d.words30[tag - 30]);
    }
    return true; // above the last tag: no payload
}

} // namespace

std::int32_t ReadDescriptionFrom(ByteSource& source, DbDescription& target) {
    ItemReader in(source);
    DbDescription read = target;
    if (!in.Number(read.versionMinor) || !in.Number(read.versionMajor)) {
        return kDescriptionUnreadable;
    }
    if (read.versionMajor < kLowestMajorVersion) {
        target.versionMinor = read.versionMinor;
        target.versionMajor = read.versionMajor;
        return kDescriptionTooOld;
    }
    for (;;) {
        std::uint16_t tag = 0;
        int got = in.Tag(tag);
        if (got == 0) {
            break;
        }
        if (got < 0 || !ReadItem(in, tag, read)) {
            return kDescriptionUnreadable;
        }
    }
    target = std::move(read);
    return kDescriptionRead;
}

} // namespace korva
