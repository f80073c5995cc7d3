#include "framework/portable/szdd.h"

#include <algorithm>
#include <array>

namespace korva {

namespace {

constexpr std::uint8_t kMagic[8] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};
constexpr std::uint8_t kMethodA = 'A';
constexpr std::size_t kWindowSize = 4096;
constexpr std::size_t kWindowStart = kWindowSize - 16;
constexpr std::size_t kMinMatch = 3;
constexpr std::size_t kMaxMatch = 18;
// A match may reach back at most one window less a byte: the expander reads each byte of a
// match before it writes the next one into the window.
constexpr std::size_t kMaxDistance = kWindowSize - 1;
// Candidates tried per position: enough for a good ratio, bounded for speed.
constexpr int kMaxChain = 128;

constexpr std::size_t kHashSize = 1 << 14;

std::size_t Hash3(const std::uint8_t* p) {
    return ((p[0] << 10) ^ (p[1] << 5) ^ p[2]) & (kHashSize - 1);
}

void PutLe32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

} // namespace

std::vector<std::uint8_t> CompressSzdd(std::span<const std::uint8_t> data, char missingChar) {
    std::vector<std::uint8_t> out(kMagic, kMagic + 8);
    out.push_back(kMethodA);
    out.push_back(static_cast<std::uint8_t>(missingChar));
    PutLe32(out, static_cast<std::uint32_t>(data.size()));

    // Hash chains over the positions seen so far: head per hash, previous position per byte.
    constexpr std::size_t kNone = SIZE_MAX;
    std::vector<std::size_t> head(kHashSize, kNone);
    std::vector<std::size_t> previous(data.size(), kNone);
    auto insert = [&](std::size_t pos) {
        if (pos + kMinMatch <= data.size()) {
            std::size_t h = Hash3(&data[pos]);
            previous[pos] = head[h];
            head[h] = pos;
        }
    };

    std::size_t flagIndex = 0;
    int itemsInGroup = 8;
    std::size_t pos = 0;
    while (pos < data.size()) {
        if (itemsInGroup == 8) {
            flagIndex = out.size();
            out.push_back(0);
            itemsInGroup = 0;
        }
        std::size_t bestLength = 0;
        std::size_t bestPos = 0;
        std::size_t limit = std::min(kMaxMatch, data.size() - pos);
        if (limit >= kMinMatch) {
            std::size_t candidate = head[Hash3(&data[pos])];
            for (int tries = 0; candidate != kNone && tries < kMaxChain; ++tries) {
                if (pos - candidate > kMaxDistance) {
                    break;
                }
                std::size_t length = 0;
                while (length < limit && data[candidate + length] == data[pos + length]) {
                    ++length;
                }
                if (length > bestLength) {
                    bestLength = length;
                    bestPos = candidate;
                    if (length == limit) {
                        break;
                    }
                }
                candidate = previous[candidate];
            }
        }
        if (bestLength >= kMinMatch) {
            // Window position of the source: where the expander wrote that byte.
            std::size_t windowPos = (kWindowStart + bestPos) % kWindowSize;
            out.push_back(static_cast<std::uint8_t>(windowPos & 0xFF));
            out.push_back(
                static_cast<std::uint8_t>(((windowPos >> 4) & 0xF0) | (bestLength - kMinMatch)));
            for (std::size_t i = 0; i < bestLength; ++i) {
                insert(pos + i);
            }
            pos += bestLength;
        } else {
            out[flagIndex] |= static_cast<std::uint8_t>(1u << itemsInGroup);
            out.push_back(data[pos]);
            insert(pos);
            ++pos;
        }
        ++itemsInGroup;
    }
    return out;
}

bool IsSzddStream(std::span<const std::uint8_t> stream) {
    return stream.size() >= sizeof kMagic && std::equal(kMagic, kMagic + 8, stream.begin());
}

SzddExpansion ExpandSzdd(std::span<const std::uint8_t> stream) {
    SzddExpansion result;
    if (stream.size() < kSzddHeaderSize || !IsSzddStream(stream)) {
        result.error = "not an SZDD file";
        return result;
    }
    if (stream[8] != kMethodA) {
        result.error = "unknown compression method";
        return result;
    }
    result.missingChar = static_cast<char>(stream[9]);
    std::uint32_t length = static_cast<std::uint32_t>(stream[10]) | (stream[11] << 8) |
                           (stream[12] << 16) | (static_cast<std::uint32_t>(stream[13]) << 24);

    std::array<std::uint8_t, kWindowSize> window;
    window.fill(' ');
    std::size_t windowPos = kWindowStart;
    std::size_t in = kSzddHeaderSize;
    auto& out = result.data;
    auto emit = [&](std::uint8_t byte) {
        out.push_back(byte);
        window[windowPos] = byte;
        windowPos = (windowPos + 1) % kWindowSize;
    };
    // The output is never sized from the header: a false length cannot make it allocate more
    // than the data can expand to.
    while (out.size() < length && in < stream.size()) {
        std::uint8_t flags = stream[in++];
        for (int bit = 0; bit < 8 && out.size() < length; ++bit) {
            if (flags & (1u << bit)) {
                if (in >= stream.size()) {
                    break;
                }
                emit(stream[in++]);
            } else {
                if (in + 2 > stream.size()) {
                    in = stream.size();
                    break;
                }
                std::size_t from = stream[in] | ((stream[in + 1] & 0xF0) << 4);
                std::size_t count = (stream[in + 1] & 0x0F) + kMinMatch;
                in += 2;
                for (std::size_t i = 0; i < count && out.size() < length; ++i) {
                    emit(window[(from + i) % kWindowSize]);
                }
            }
        }
    }
    if (out.size() < length) {
        result.error = "the data ends before the declared length";
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace korva
