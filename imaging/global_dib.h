// DIBs as the platform holds them: one movable global memory block in the packed layout.
#pragma once

#include "framework/handles.h"
#include "imaging/portable/dib.h"

namespace korva {

// Locks a global block for a scope.
class LockedGlobal {
public:
    explicit LockedGlobal(HGLOBAL block)
        : block_(block), data_(block ? static_cast<std::uint8_t*>(::GlobalLock(block)) : nullptr) {}
    LockedGlobal(const LockedGlobal&) = delete;
    LockedGlobal& operator=(const LockedGlobal&) = delete;
    ~LockedGlobal() {
        if (data_) {
            ::GlobalUnlock(block_);
        }
    }
    std::uint8_t* Data() const { return data_; }
    std::size_t Size() const { return data_ ? ::GlobalSize(block_) : 0; }

private:
    HGLOBAL block_;
    std::uint8_t* data_;
};

// A movable, zero-filled global block holding a copy of `dib`; empty when out of memory.
fw::UniqueGlobal GlobalFromDib(const DibBlock& dib);
// A copy of the DIB in a global block, cut to the size its header gives; empty when the
// block is null or smaller than its header says.
DibBlock DibFromGlobal(HGLOBAL block);

} // namespace korva
