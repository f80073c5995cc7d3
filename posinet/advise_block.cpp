#include "posinet/advise_block.h"

#include "posinet/wine_dde.h"

#include <cstring>
#include <tuple>

namespace {

// Wine's header in front of the data: option bits, then the clipboard format.
constexpr SIZE_T kHeaderSize = 4;
constexpr SIZE_T kBlockSize = kHeaderSize + std::tuple_size_v<AdviseBlockReclaimer::Record>;

bool HoldsDatum(HGLOBAL handle, const AdviseBlockReclaimer::Record& record, UINT format) {
    if (GlobalSize(handle) != kBlockSize) {
        return false;
    }
    const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(handle));
    if (!bytes) {
        return false;
    }
    std::uint16_t blockFormat = 0;
    std::memcpy(&blockFormat, bytes + 2, sizeof blockFormat);
    const bool same = blockFormat == format &&
                      std::memcmp(bytes + kHeaderSize, record.data(), record.size()) == 0;
    GlobalUnlock(handle);
    return same;
}

} // namespace

bool AdviseBlockReclaimer::PlatformKeepsBlocks() {
    return RunningOnWine();
}

void AdviseBlockReclaimer::ExpectBlock(const Record& record, UINT format, DWORD partnerProcessId) {
    // A client in this process reads the very block after DdePostAdvise has returned.
    if (!PlatformKeepsBlocks() || partnerProcessId == 0 ||
        partnerProcessId == GetCurrentProcessId()) {
        return;
    }
    HGLOBAL probe = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, kBlockSize);
    if (!probe) {
        return;
    }
    GlobalFree(probe);
    expected_.push_back({probe, record, format});
}

int AdviseBlockReclaimer::Reclaim() {
    int freed = 0;
    for (const Expected& block : expected_) {
        // A handle that went elsewhere holds other bytes, or none: it is left alone.
        if (HoldsDatum(block.handle, block.record, block.format) &&
            GlobalFree(block.handle) == nullptr) {
            ++freed;
        }
    }
    expected_.clear();
    return freed;
}
