// Fuzzes the disc image check: the volume descriptors, both directory trees, the pairing of
// their names and the CD's files read from them. The input is the image from its first
// volume descriptor on (the 32 KiB before it are the system area, which nothing reads); the
// image goes on with zeros up to at least 128 KiB, so that a short input still leads
// somewhere.
#include "tools/mkcd/cd_check.h"
#include "tools/mkcd/iso_reader.h"

#include <cstdint>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::uint64_t kSystemArea = 16 * mkcd::kIsoBlock;
    constexpr std::uint64_t kLeast = 128 * 1024;
    const std::uint64_t imageSize = kSystemArea + (size > kLeast ? size : kLeast);
    const mkcd::ImageReader read = [&](std::uint64_t offset, std::size_t length,
                                       unsigned char* out) {
        if (offset > imageSize || length > imageSize - offset) {
            return false;
        }
        std::memset(out, 0, length);
        // The part of [offset, offset + length) that the input holds.
        const std::uint64_t begin = offset > kSystemArea ? offset : kSystemArea;
        const std::uint64_t end =
            offset + length < kSystemArea + size ? offset + length : kSystemArea + size;
        if (begin < end) {
            std::memcpy(out + (begin - offset), data + (begin - kSystemArea), end - begin);
        }
        return true;
    };
    const auto faults = mkcd::CheckImage(read, imageSize);
    std::string error;
    const bool readable = mkcd::ReadIsoVolume(read, imageSize, error).has_value();
    // A refused image is refused in one line, which says why.
    if (!readable && (faults.size() != 1 || error.empty())) {
        __builtin_trap();
    }
    for (const std::string& fault : faults) {
        for (char c : fault) {
            if (static_cast<unsigned char>(c) < 0x20) {
                __builtin_trap(); // one printable line each
            }
        }
    }
    return 0;
}
