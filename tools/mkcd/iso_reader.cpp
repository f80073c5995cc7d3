#include "tools/mkcd/iso_reader.h"

#include <set>

namespace mkcd {

namespace {

constexpr std::uint32_t kFirstDescriptor = 16;
constexpr int kMaxDescriptors = 64;
constexpr int kMaxDepth = 32;
constexpr std::size_t kMaxEntries = 1000000;
constexpr std::uint32_t kMaxDirectoryBytes = 16u << 20;
constexpr std::uint32_t kMaxFileBytes = 64u << 20;
constexpr std::size_t kRecordHeader = 33;

std::uint32_t Le32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint16_t Le16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

void AppendUtf8(std::string& out, std::uint32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// UCS-2 (or UTF-16) big-endian to UTF-8; a lone surrogate becomes U+FFFD.
std::string FromUcs2(const unsigned char* p, std::size_t length) {
    std::string out;
    for (std::size_t i = 0; i + 1 < length; i += 2) {
        std::uint32_t c = static_cast<std::uint32_t>(p[i] << 8 | p[i + 1]);
        if (c >= 0xD800 && c < 0xDC00 && i + 3 < length) {
            const std::uint32_t low = static_cast<std::uint32_t>(p[i + 2] << 8 | p[i + 3]);
            if (low >= 0xDC00 && low < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            } else {
                c = 0xFFFD;
            }
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;
        }
        AppendUtf8(out, c);
    }
    return out;
}

std::string TrimBlanks(std::string text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) {
        text.pop_back();
    }
    return text;
}

class TreeReader {
public:
    TreeReader(const ImageReader& read, std::uint64_t imageSize, bool joliet, std::string& error)
        : read_(read), imageSize_(imageSize), joliet_(joliet), error_(error) {}

    // Parses one directory record of `length` bytes; false (with the error set) when malformed.
    bool ParseRecord(const unsigned char* record, std::size_t length, IsoEntry& entry, bool& self) {
        if (length < kRecordHeader + 1 || record[0] < kRecordHeader + 1 || record[0] > length) {
            return Fail("a directory record is cut short");
        }
        const std::size_t recordLength = record[0];
        const std::size_t nameLength = record[32];
        if (kRecordHeader + nameLength > recordLength || nameLength == 0) {
            return Fail("a directory record's name does not fit in it");
        }
        const unsigned char flags = record[25];
        if (flags & 0x80) {
            return Fail("a file is recorded in several extents, which this check does not read");
        }
        entry.directory = (flags & 0x02) != 0;
        entry.extent = Le32(record + 2);
        entry.size = Le32(record + 10);
        const unsigned char* name = record + kRecordHeader;
        self = nameLength == 1 && (name[0] == 0 || name[0] == 1);
        if (self) {
            return true;
        }
        entry.name = joliet_ ? FromUcs2(name, nameLength)
                             : std::string(reinterpret_cast<const char*>(name), nameLength);
        if (static_cast<std::uint64_t>(entry.extent) * kIsoBlock + entry.size > imageSize_) {
            return Fail("\"" + entry.name + "\" lies beyond the end of the image");
        }
        return true;
    }

    bool ReadTree(IsoEntry& directory, int depth) {
        if (depth > kMaxDepth) {
            return Fail("directories are nested deeper than " + std::to_string(kMaxDepth) +
                        " levels");
        }
        if (!visited_.insert(directory.extent).second) {
            return Fail("the directory \"" + directory.name + "\" is recorded twice (a loop)");
        }
        if (directory.size > kMaxDirectoryBytes) {
            return Fail("the directory \"" + directory.name + "\" is too large");
        }
        std::string bytes(directory.size, '\0');
        if (!read_(static_cast<std::uint64_t>(directory.extent) * kIsoBlock, bytes.size(),
                   reinterpret_cast<unsigned char*>(bytes.data()))) {
            return Fail("the directory \"" + directory.name + "\" cannot be read");
        }
        const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
        std::size_t pos = 0;
        while (pos < bytes.size()) {
            const std::size_t sectorEnd = (pos / kIsoBlock + 1) * kIsoBlock;
            const std::size_t limit = sectorEnd < bytes.size() ? sectorEnd : bytes.size();
            if (data[pos] == 0) {
                pos = sectorEnd; // records never cross a block: the rest is padding
                continue;
            }
            IsoEntry entry;
            bool self = false;
            if (!ParseRecord(data + pos, limit - pos, entry, self)) {
                return false;
            }
            pos += data[pos];
            if (self) {
                continue;
            }
            if (++entries_ > kMaxEntries) {
                return Fail("the image holds more than " + std::to_string(kMaxEntries) + " names");
            }
            directory.children.push_back(std::move(entry));
        }
        for (IsoEntry& child : directory.children) {
            if (child.directory && !ReadTree(child, depth + 1)) {
                return false;
            }
        }
        return true;
    }

    bool ReadRoot(const unsigned char* descriptor, IsoEntry& root) {
        bool self = false;
        if (!ParseRecord(descriptor + 156, 34, root, self) || !root.directory) {
            return Fail("the root directory record is damaged");
        }
        root.name.clear();
        return ReadTree(root, 1);
    }

private:
    bool Fail(const std::string& reason) {
        error_ = reason;
        return false;
    }

    const ImageReader& read_;
    std::uint64_t imageSize_;
    bool joliet_;
    std::string& error_;
    std::set<std::uint32_t> visited_;
    std::size_t entries_ = 0;
};

bool IsJolietDescriptor(const unsigned char* d) {
    return d[88] == '%' && d[89] == '/' && (d[90] == '@' || d[90] == 'C' || d[90] == 'E');
}

} // namespace

std::optional<IsoVolume> ReadIsoVolume(const ImageReader& read, std::uint64_t imageSize,
                                       std::string& error) {
    IsoVolume volume;
    bool primary = false;
    unsigned char descriptor[kIsoBlock];
    unsigned char primaryCopy[kIsoBlock];
    unsigned char jolietCopy[kIsoBlock];
    for (int i = 0; i < kMaxDescriptors; ++i) {
        const std::uint64_t offset = (kFirstDescriptor + static_cast<std::uint64_t>(i)) * kIsoBlock;
        if (offset + kIsoBlock > imageSize || !read(offset, kIsoBlock, descriptor)) {
            error = "the volume descriptors end without a terminator";
            return std::nullopt;
        }
        if (std::string(reinterpret_cast<const char*>(descriptor + 1), 5) != "CD001") {
            error = i == 0 ? "not an ISO 9660 image (no volume descriptor)"
                           : "a volume descriptor is damaged";
            return std::nullopt;
        }
        const unsigned char type = descriptor[0];
        if (type == 255) {
            break;
        }
        if (type == 1 && !primary) {
            primary = true;
            std::copy(descriptor, descriptor + kIsoBlock, primaryCopy);
        } else if (type == 2 && IsJolietDescriptor(descriptor) && !volume.hasJoliet) {
            volume.hasJoliet = true;
            std::copy(descriptor, descriptor + kIsoBlock, jolietCopy);
        }
    }
    if (!primary) {
        error = "no primary volume descriptor";
        return std::nullopt;
    }
    if (Le16(primaryCopy + 128) != kIsoBlock) {
        error = "blocks of " + std::to_string(Le16(primaryCopy + 128)) + " bytes, not 2048";
        return std::nullopt;
    }
    volume.blocks = Le32(primaryCopy + 80);
    volume.plainVolumeId =
        TrimBlanks(std::string(reinterpret_cast<const char*>(primaryCopy + 40), 32));
    TreeReader plain(read, imageSize, false, error);
    if (!plain.ReadRoot(primaryCopy, volume.plainRoot)) {
        error = "ISO 9660 names: " + error;
        return std::nullopt;
    }
    if (volume.hasJoliet) {
        volume.jolietVolumeId = TrimBlanks(FromUcs2(jolietCopy + 40, 32));
        TreeReader joliet(read, imageSize, true, error);
        if (!joliet.ReadRoot(jolietCopy, volume.jolietRoot)) {
            error = "Joliet names: " + error;
            return std::nullopt;
        }
    }
    return volume;
}

std::optional<std::string> ReadIsoFile(const ImageReader& read, const IsoEntry& file) {
    if (file.directory || file.size > kMaxFileBytes) {
        return std::nullopt;
    }
    std::string bytes(file.size, '\0');
    if (!bytes.empty() && !read(static_cast<std::uint64_t>(file.extent) * kIsoBlock, bytes.size(),
                                reinterpret_cast<unsigned char*>(bytes.data()))) {
        return std::nullopt;
    }
    return bytes;
}

} // namespace mkcd
