#include "imaging/portable/metafile_header.h"

#include "framework/portable/byte_stream.h"

namespace korva {

bool IsMetaHeader(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kMetaHeaderSize) {
        return false;
    }
    std::uint16_t type = GetLe16(bytes.data());
    std::uint16_t headerWords = GetLe16(bytes.data() + 2);
    std::uint16_t version = GetLe16(bytes.data() + 4);
    return (type == 1 || type == 2) && headerWords == 9 && (version == 0x100 || version == 0x300);
}

std::optional<MetafileLayout> LocateMetafileHeader(std::span<const std::uint8_t> start) {
    if (start.size() < 4) {
        return std::nullopt;
    }
    MetafileLayout layout;
    if (GetLe32(start.data()) != kPlaceableKey) {
        if (start.size() < kMetaHeaderSize) {
            return std::nullopt;
        }
        layout.sizeInWords = GetLe32(start.data() + 6);
        return layout;
    }
    layout.placeable = true;
    for (std::uint32_t offset : kPlaceableHeaderOffsets) {
        if (start.size() >= offset + kMetaHeaderSize && IsMetaHeader(start.subspan(offset))) {
            layout.headerOffset = offset;
            layout.sizeInWords = GetLe32(start.data() + offset + 6);
            return layout;
        }
    }
    return std::nullopt;
}

} // namespace korva
