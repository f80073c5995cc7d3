#include "imaging/global_dib.h"

#include <cstring>

namespace korva {

fw::UniqueGlobal GlobalFromDib(const DibBlock& dib) {
    if (dib.Empty()) {
        return {};
    }
    fw::UniqueGlobal block(::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, dib.Size()));
    LockedGlobal lock(block.Get());
    if (!lock.Data()) {
        return {};
    }
    std::memcpy(lock.Data(), dib.Data(), dib.Size());
    return block;
}

DibBlock DibFromGlobal(HGLOBAL block) {
    LockedGlobal lock(block);
    if (!lock.Data() || lock.Size() < kInfoHeaderSize) {
        return {};
    }
    const std::int64_t size = BlockSize(BitmapInfoHeader::Parse(lock.Data()));
    if (size < kInfoHeaderSize || size > static_cast<std::int64_t>(lock.Size())) {
        return {};
    }
    DibBlock copy = DibBlock::Allocate(static_cast<std::uint64_t>(size));
    if (!copy.Empty()) {
        std::memcpy(copy.Data(), lock.Data(), copy.Size());
    }
    return copy;
}

} // namespace korva
