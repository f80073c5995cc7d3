#include "gif_lzw.h"

namespace korva {

namespace {
constexpr int kTableSize = 4096;
constexpr int kLargestWidth = 12;
} // namespace

bool GifLzwDecoder::ReadCode(ByteSource& source, int width, int& code) {
    while (bitCount_ < width) {
        if (blockPos_ == blockFill_) {
            std::uint8_t length = 0;
            if (source.Read(&length, 1) != 1) {
                ended_ = Result::kReadError;
                return false;
            }
            if (length == 0) {
                ended_ = Result::kDataEnded;
                return false;
            }
            if (ReadPieces(source, block_.data(), length) != length) {
                ended_ = Result::kReadError;
                return false;
            }
            blockFill_ = length;
            blockPos_ = 0;
        }
        bits_ |= static_cast<std::uint32_t>(block_[blockPos_++]) << bitCount_;
        bitCount_ += 8;
    }
    code = static_cast<int>(bits_ & ((1u << width) - 1));
    bits_ >>= width;
    bitCount_ -= width;
    return true;
}

GifLzwDecoder::Result
GifLzwDecoder::Decode(ByteSource& source, int codeSize,
                      const std::function<void(const std::uint8_t*, std::size_t)>& output) {
    if (codeSize < 2 || codeSize > 9) {
        return Result::kBadCodeSize;
    }
    const int clear = 1 << codeSize;
    const int end = clear + 1;
    const int firstFree = clear + 2;
    for (int i = 0; i < clear; ++i) {
        suffix_[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    }
    int width = codeSize + 1;
    int limit = 1 << width;
    int next = firstFree;
    int previous = -1; // no string yet: at the start and after a clear code
    std::uint8_t previousFirst = 0;

    for (;;) {
        int code = 0;
        if (!ReadCode(source, width, code)) {
            return ended_;
        }
        if (code == end) {
            return Result::kEndCode;
        }
        if (code == clear) {
            width = codeSize + 1;
            limit = 1 << width;
            next = firstFree;
            previous = -1;
            continue;
        }
        if (previous < 0) {
            // The first code of a table is a plain byte; anything else counts as 0.
            if (code >= next) {
                code = 0;
            }
            const std::uint8_t value = suffix_[static_cast<std::size_t>(code)];
            output(&value, 1);
            previous = code;
            previousFirst = value;
            continue;
        }

        // Unwind the string onto the stack, last byte first. Every entry's prefix is an
        // older entry, so the walk ends within the table.
        std::size_t depth = 0;
        int current = code;
        const bool known = code < next;
        if (!known) {
            if (code > next) {
                ++badCodes_;
            }
            stack_[depth++] = previousFirst;
            current = previous;
        }
        while (current >= firstFree && depth < stack_.size() - 1) {
            stack_[depth++] = suffix_[static_cast<std::size_t>(current)];
            current = prefix_[static_cast<std::size_t>(current)];
        }
        const std::uint8_t first = suffix_[static_cast<std::size_t>(current)];
        stack_[depth++] = first;
        for (std::size_t i = 0; i < depth / 2; ++i) {
            std::swap(stack_[i], stack_[depth - 1 - i]);
        }
        output(stack_.data(), depth);

        int added = -1;
        if (next < limit && next < kTableSize) {
            prefix_[static_cast<std::size_t>(next)] = static_cast<std::uint16_t>(previous);
            suffix_[static_cast<std::size_t>(next)] = first;
            added = next++;
            if (next == limit && width < kLargestWidth) {
                ++width;
                limit <<= 1;
            }
        }
        // The string just written: its own code, or the entry that was made for it.
        if (known) {
            previous = code;
        } else if (added >= 0) {
            previous = added;
        }
        previousFirst = first;
    }
}

} // namespace korva
