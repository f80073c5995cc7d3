#include "imaging/portable/gif_lzw.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace korva {

namespace {
constexpr int kTableSize = 4096;
constexpr int kLargestWidth = 12;
constexpr std::size_t kSpareBytes = 4;
// Strings of up to eight bytes are written at once from their last eight bytes, held in one
// number with the first byte lowest: byte order matters.
constexpr bool kGroupsOfEight = std::endian::native == std::endian::little;
} // namespace

GifLzwDecoder::Result GifLzwDecoder::ReadSubBlocks(ByteSource& source) {
    data_.clear();
    Result ended = Result::kDataEnded;
    std::uint8_t block[255];
    for (;;) {
        std::uint8_t length = 0;
        if (source.Read(&length, 1) != 1) {
            ended = Result::kReadError;
            break;
        }
        if (length == 0) {
            break;
        }
        // A block the file ends inside gives none of its codes.
        if (ReadPieces(source, block, length) != length) {
            ended = Result::kReadError;
            break;
        }
        data_.insert(data_.end(), block, block + length);
    }
    return ended;
}

namespace {

// Where the next pixel goes: the line being filled (none before its first pixel) and how much
// of it is.
struct LinePosition {
    std::uint8_t* line = nullptr;
    std::size_t x = 0;
};

// Hands out the bytes of a string that does not fit in the rest of its line.
LinePosition Share(GifLineSink& lines, std::size_t width, LinePosition at,
                   const std::uint8_t* bytes, std::size_t count) {
    while (count > 0) {
        if (!at.line) {
            at.line = lines.BeginLine();
        }
        const std::size_t n = std::min(count, width - at.x);
        std::memcpy(at.line + at.x, bytes, n);
        at.x += n;
        bytes += n;
        count -= n;
        if (at.x == width) {
            lines.EndLine(width);
            at = {};
        }
    }
    return at;
}

// Writes the string of `code`, `total` bytes long with `last` as its last byte when `extra`.
// The walk goes from the last byte back to the first, straight into the line when the string
// fits in it; every entry's prefix is an older entry, so the walk ends within the table.
inline LinePosition Emit(GifLineSink& lines, std::size_t width, LinePosition at, int code,
                         std::size_t total, bool extra, std::uint8_t last, int firstFree,
                         const std::uint8_t* suffix, const std::uint16_t* prefix,
                         std::uint8_t* stack) {
    if (!at.line) {
        at.line = lines.BeginLine();
    }
    const bool fits = total <= width - at.x;
    std::uint8_t* p = (fits ? at.line + at.x : stack) + total;
    if (extra) {
        *--p = last;
    }
    while (code >= firstFree) {
        *--p = suffix[code];
        code = prefix[code];
    }
    *--p = suffix[code];
    if (!fits) {
        return Share(lines, width, at, stack, total);
    }
    at.x += total;
    if (at.x == width) {
        lines.EndLine(width);
        at = {};
    }
    return at;
}

} // namespace

GifLzwDecoder::Result GifLzwDecoder::Decode(ByteSource& source, int codeSize, std::size_t width,
                                            GifLineSink& lines) {
    if (codeSize < 2 || codeSize > 9) {
        return Result::kBadCodeSize;
    }
    const Result dataEnd = ReadSubBlocks(source);
    const std::size_t bitTotal = data_.size() * 8;
    data_.insert(data_.end(), kSpareBytes, 0);
    const std::uint8_t* const data = data_.data();
    std::size_t bitPos = 0;

    const int clear = 1 << codeSize;
    const int end = clear + 1;
    const int firstFree = clear + 2;
    std::uint16_t* const prefix = prefix_.data();
    std::uint8_t* const suffix = suffix_.data();
    std::uint8_t* const firsts = first_.data();
    std::uint16_t* const lengths = length_.data();
    std::uint64_t* const tails = tail_.data();
    std::uint8_t* const stack = stack_.data();
    for (int i = 0; i < clear; ++i) {
        suffix[i] = static_cast<std::uint8_t>(i);
        firsts[i] = static_cast<std::uint8_t>(i);
        lengths[i] = 1;
        tails[i] = suffix[i]; // the byte: codes of 9 bits go beyond 255
    }
    int codeWidth = codeSize + 1;
    std::uint32_t mask = (1u << codeWidth) - 1;
    int limit = 1 << codeWidth;
    int next = firstFree;
    int previous = -1; // no string yet: at the start and after a clear code
    std::uint8_t previousFirst = 0;
    LinePosition at;
    int badCodes = 0;

    Result result = Result::kEndCode;
    for (;;) {
        if (bitPos + static_cast<std::size_t>(codeWidth) > bitTotal) {
            result = dataEnd;
            break;
        }
        const std::uint8_t* p = data + (bitPos >> 3);
        const std::uint32_t bits = static_cast<std::uint32_t>(p[0]) | (std::uint32_t{p[1]} << 8) |
                                   (std::uint32_t{p[2]} << 16);
        int code = static_cast<int>((bits >> (bitPos & 7)) & mask);
        bitPos += static_cast<std::size_t>(codeWidth);

        if (code == end) {
            break;
        }
        if (code == clear) {
            codeWidth = codeSize + 1;
            mask = (1u << codeWidth) - 1;
            limit = 1 << codeWidth;
            next = firstFree;
            previous = -1;
            continue;
        }
        // The first code of a table is a plain byte (anything else counts as 0). After it, a
        // known code is its own string; an unknown one the previous string followed by its
        // first byte.
        const bool first = previous < 0;
        if (first && code >= next) {
            code = 0;
        }
        const bool known = code < next;
        if (!known && code > next) {
            ++badCodes;
        }
        const int stringCode = known ? code : previous;
        const std::size_t total = lengths[stringCode] + (known ? 0u : 1u);
        if (width != 0) {
            if (!at.line) {
                at.line = lines.BeginLine();
            }
            if (kGroupsOfEight && total <= 8 && width - at.x >= 8) {
                // A short string at once, from its last eight bytes; the spare bytes after it
                // lie in the line, where the next strings go.
                std::uint64_t tail = tails[stringCode];
                if (!known) {
                    tail |= std::uint64_t{previousFirst} << (8 * (total - 1));
                }
                std::memcpy(at.line + at.x, &tail, 8);
                at.x += total;
                if (at.x == width) {
                    lines.EndLine(width);
                    at = {};
                }
            } else {
                at = Emit(lines, width, at, stringCode, total, !known, previousFirst, firstFree,
                          suffix, prefix, stack);
            }
        }
        if (first) {
            previous = code;
            previousFirst = suffix[code];
            continue;
        }

        const std::uint8_t stringFirst = known ? firsts[code] : previousFirst;
        int added = -1;
        if (next < limit && next < kTableSize) {
            prefix[next] = static_cast<std::uint16_t>(previous);
            suffix[next] = stringFirst;
            // The previous string's first byte is this entry's first byte too.
            firsts[next] = previousFirst;
            const std::size_t previousLength = lengths[previous];
            lengths[next] = static_cast<std::uint16_t>(previousLength + 1);
            tails[next] = previousLength < 8
                              ? tails[previous] | std::uint64_t{stringFirst} << (8 * previousLength)
                              : tails[previous] >> 8 | std::uint64_t{stringFirst} << 56;
            added = next++;
            if (next == limit && codeWidth < kLargestWidth) {
                ++codeWidth;
                mask = (1u << codeWidth) - 1;
                limit <<= 1;
            }
        }
        // The string just written: its own code, or the entry that was made for it.
        if (known) {
            previous = code;
        } else if (added >= 0) {
            previous = added;
        }
        previousFirst = stringFirst;
    }
    badCodes_ += badCodes;
    // A line the data end inside is handed over as it is, without the spare bytes of the last
    // group of eight.
    if (at.line && result != Result::kReadError) {
        std::memset(at.line + at.x, 0, std::min<std::size_t>(7, width - at.x));
        lines.EndLine(at.x);
    }
    return result;
}

} // namespace korva
