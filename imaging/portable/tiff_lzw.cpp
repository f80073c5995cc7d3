#include "imaging/portable/tiff_lzw.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>

namespace korva {

namespace {
constexpr int kClear = 256;
constexpr int kEnd = 257;
constexpr int kFirstFree = 258;
constexpr int kTableSize = 4096;
constexpr int kLargestWidth = 12;

constexpr std::size_t kGroup = 16;

// The 256 one-byte strings, with spare bytes for copies a group at a time.
constexpr std::array<std::uint8_t, 256 + kGroup> kBytes = [] {
    std::array<std::uint8_t, 256 + kGroup> bytes{};
    for (int i = 0; i < 256; ++i) {
        bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    }
    return bytes;
}();

// Copies `n` bytes from `from` to `to`, forwards, so that a source that overlaps the copy
// (a string followed by its own first byte) repeats itself. In groups of 16 or 8 bytes when
// the source is at least that far behind (or not in the output at all) and the `room` after
// `to` holds the last group's spare bytes, which later strings overwrite.
inline void CopyString(std::uint8_t* to, const std::uint8_t* from, std::size_t n,
                       std::size_t room) {
    // Wraps to a large number for a source after the destination: the table of bytes.
    const std::uintptr_t behind =
        reinterpret_cast<std::uintptr_t>(to) - reinterpret_cast<std::uintptr_t>(from);
    if (behind >= kGroup && n + kGroup <= room) {
        std::memcpy(to, from, kGroup);
        for (std::size_t i = kGroup; i < n; i += kGroup) {
            std::memcpy(to + i, from + i, kGroup);
        }
    } else if (behind >= 8 && n + 8 <= room) {
        for (std::size_t i = 0; i < n; i += 8) {
            std::memcpy(to + i, from + i, 8);
        }
    } else {
        for (std::size_t i = 0; i < n; ++i) {
            to[i] = from[i];
        }
    }
}

} // namespace

// Every string the table holds was written to the output once already (or is one byte), so
// an entry is only where that copy starts and its length: a new entry is the previous
// string, which the current one follows in the output, one byte longer.
std::size_t DecodeTiffLzw(std::span<const std::uint8_t> coded, std::span<std::uint8_t> output) {
    auto start = std::make_unique_for_overwrite<const std::uint8_t*[]>(kTableSize);
    auto length = std::make_unique_for_overwrite<std::uint16_t[]>(kTableSize);
    for (int i = 0; i < kClear; ++i) {
        start[static_cast<std::size_t>(i)] = kBytes.data() + i;
        length[static_cast<std::size_t>(i)] = 1;
    }
    std::uint8_t* const begin = output.data();
    std::uint8_t* const end = begin + output.size();
    std::uint8_t* out = begin;

    // Codes most significant bit first, from a reservoir of up to 64 bits.
    const std::uint8_t* in = coded.data();
    const std::uint8_t* const inEnd = in + coded.size();
    std::uint64_t bits = 0;
    int bitCount = 0;

    int width = 9;
    std::uint32_t mask = (1u << width) - 1;
    int next = kFirstFree;
    bool afterClear = true; // at the start too: the first code must be a byte
    std::uint8_t* previous = nullptr;
    std::size_t previousLength = 0;

    while (out < end) {
        if (bitCount < width) {
            if (inEnd - in >= 4) {
                bits = (bits << 32) | (std::uint64_t{in[0]} << 24) | (std::uint64_t{in[1]} << 16) |
                       (std::uint64_t{in[2]} << 8) | in[3];
                in += 4;
                bitCount += 32;
            } else {
                while (in < inEnd && bitCount <= 56) {
                    bits = (bits << 8) | *in++;
                    bitCount += 8;
                }
                if (bitCount < width) {
                    break; // fewer bits left than a code has
                }
            }
        }
        bitCount -= width;
        const int code = static_cast<int>((bits >> bitCount) & mask);

        if (code == kClear) {
            width = 9;
            mask = (1u << width) - 1;
            next = kFirstFree;
            afterClear = true;
            continue;
        }
        if (code == kEnd) {
            break;
        }
        const std::size_t room = static_cast<std::size_t>(end - out);
        if (afterClear) {
            if (code >= kClear) {
                break; // a table code right after a clear: the strip is corrupt
            }
            *out = static_cast<std::uint8_t>(code);
            previous = out++;
            previousLength = 1;
            afterClear = false;
            continue;
        }
        std::size_t n = 0;
        if (code < next) {
            // A byte, or a string written before.
            n = length[static_cast<std::size_t>(code)];
            const bool whole = n <= room;
            CopyString(out, start[static_cast<std::size_t>(code)], whole ? n : room, room);
            if (!whole) {
                return output.size();
            }
        } else {
            // The entry being made: the previous string followed by its own first byte.
            if (code > next || next >= kTableSize) {
                break; // beyond the table
            }
            n = previousLength + 1;
            const bool whole = n <= room;
            CopyString(out, previous, whole ? n : room, room);
            if (!whole) {
                return output.size();
            }
        }
        if (next < kTableSize) {
            start[static_cast<std::size_t>(next)] = previous;
            length[static_cast<std::size_t>(next)] = static_cast<std::uint16_t>(previousLength + 1);
            ++next;
            // Early change: the width grows when the next code would need it.
            if (next + 1 >= (1 << width) && width < kLargestWidth) {
                ++width;
                mask = (1u << width) - 1;
            }
        }
        previous = out;
        previousLength = n;
        out += n;
    }
    return static_cast<std::size_t>(out - begin);
}

} // namespace korva
