// Any first bytes of a file given to the metafile header reader: a layout that stays inside
// those bytes and names a header the platform can check, or none; never a read outside them.
#include "framework/portable/byte_stream.h"
#include "imaging/portable/metafile_header.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> start(data, size);
    const bool header = korva::IsMetaHeader(start);
    const std::optional<korva::MetafileLayout> layout = korva::LocateMetafileHeader(start);
    const bool placeable = size >= 4 && korva::GetLe32(data) == korva::kPlaceableKey;
    if (header && size >= korva::kMetaHeaderSize && !placeable && !layout) {
        std::abort(); // a plain metafile's header is always found
    }
    if (!layout) {
        return 0;
    }
    if (layout->placeable != placeable) {
        std::abort();
    }
    const std::uint64_t end = std::uint64_t{layout->headerOffset} + korva::kMetaHeaderSize;
    if (end > size) {
        std::abort();
    }
    if (layout->placeable) {
        // The header at either offset, and only a valid one.
        if ((layout->headerOffset != 22 && layout->headerOffset != 32) ||
            !korva::IsMetaHeader(start.subspan(layout->headerOffset))) {
            std::abort();
        }
    } else if (layout->headerOffset != 0) {
        std::abort();
    }
    if (layout->sizeInWords != korva::GetLe32(data + layout->headerOffset + 6)) {
        std::abort();
    }
    return 0;
}
