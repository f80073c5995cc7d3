#include "tools/dbdat/description_writer.h"

#include "mapdb/portable/db_description.h"

namespace korva {

std::string LittleEndian(std::uint32_t value, unsigned width) {
    std::string bytes;
    for (unsigned i = 0; i < width; ++i) {
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    return bytes;
}

std::optional<std::string> EncodeDescription(const DescriptionFile& file, std::string& error) {
    std::string out;
    out += static_cast<char>(file.versionMinor);
    out += static_cast<char>(file.versionMajor);
    for (const DescriptionItem& item : file.items) {
        std::string tag = "tag " + std::to_string(item.tag);
        if (IsTextTag(item.tag)) {
            if (item.payload.size() > 0xFFFF) {
                error = tag + ": a text holds at most 65535 bytes";
                return std::nullopt;
            }
            out += LittleEndian(item.tag, 2);
            out += LittleEndian(static_cast<std::uint32_t>(item.payload.size()), 2);
        } else {
            unsigned width = FixedTagWidth(item.tag);
            if (item.payload.size() != width) {
                error = tag + ": the payload must be " + std::to_string(width) + " bytes, not " +
                        std::to_string(item.payload.size());
                return std::nullopt;
            }
            out += LittleEndian(item.tag, 2);
        }
        out += item.payload;
    }
    return out;
}

} // namespace korva
