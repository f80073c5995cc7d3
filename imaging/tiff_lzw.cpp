#include "tiff_lzw.h"

#include <array>
#include <vector>

namespace korva {

namespace {
constexpr int kClear = 256;
constexpr int kEnd = 257;
constexpr int kFirstFree = 258;
constexpr int kTableSize = 4096;
} // namespace

std::size_t DecodeTiffLzw(std::span<const std::uint8_t> coded, std::span<std::uint8_t> output) {
    std::vector<std::uint16_t> prefix(kTableSize);
    std::vector<std::uint8_t> suffix(kTableSize);
    std::vector<std::uint16_t> length(kTableSize, 1);
    for (int i = 0; i < 256; ++i) {
        suffix[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    }
    std::size_t out = 0;
    std::size_t bitPos = 0;
    const std::size_t totalBits = coded.size() * 8;
    int width = 9;
    int next = kFirstFree;
    int previous = -1;

    auto readCode = [&](int& code) {
        if (bitPos + static_cast<std::size_t>(width) > totalBits) {
            return false;
        }
        code = 0;
        for (int i = 0; i < width; ++i, ++bitPos) {
            code = (code << 1) | ((coded[bitPos / 8] >> (7 - bitPos % 8)) & 1);
        }
        return true;
    };
    // Writes the string of `code` (known to be in the table) at `out`; false when it does not fit.
    auto writeString = [&](int code) {
        const std::size_t n = length[static_cast<std::size_t>(code)];
        if (out + n > output.size()) {
            // Write what fits of it, from its start.
            std::vector<std::uint8_t> whole(n);
            for (std::size_t i = n; i-- > 0;) {
                whole[i] = suffix[static_cast<std::size_t>(code)];
                code = prefix[static_cast<std::size_t>(code)];
            }
            for (std::size_t i = 0; out < output.size(); ++i) {
                output[out++] = whole[i];
            }
            return false;
        }
        for (std::size_t i = n; i-- > 0;) {
            output[out + i] = suffix[static_cast<std::size_t>(code)];
            code = prefix[static_cast<std::size_t>(code)];
        }
        out += n;
        return true;
    };

    int code = 0;
    while (out < output.size() && readCode(code)) {
        if (code == kEnd) {
            break;
        }
        if (code == kClear) {
            width = 9;
            next = kFirstFree;
            previous = -1;
            continue;
        }
        if (previous < 0) {
            if (code >= 256) {
                break; // a table code right after a clear: the strip is corrupt
            }
            output[out++] = static_cast<std::uint8_t>(code);
            previous = code;
            continue;
        }
        if (code > next || (code == next && next >= kTableSize)) {
            break;
        }
        // The new entry: the previous string and the first byte of this one (of itself when
        // this code is the entry being made).
        const std::size_t start = out;
        std::uint8_t first = 0;
        if (code < next) {
            if (!writeString(code)) {
                break;
            }
            first = output[start];
        }
        if (next < kTableSize) {
            int root = previous;
            while (root >= 256) {
                root = prefix[static_cast<std::size_t>(root)];
            }
            if (code == next) {
                first = static_cast<std::uint8_t>(root);
            }
            prefix[static_cast<std::size_t>(next)] = static_cast<std::uint16_t>(previous);
            suffix[static_cast<std::size_t>(next)] = first;
            length[static_cast<std::size_t>(next)] =
                static_cast<std::uint16_t>(length[static_cast<std::size_t>(previous)] + 1);
            ++next;
            if (code == next - 1 && !writeString(code)) {
                break;
            }
            // Early change: the width grows when the next code would need it.
            if (next + 1 >= (1 << width) && width < 12) {
                ++width;
            }
        }
        previous = code;
    }
    return out;
}

} // namespace korva
