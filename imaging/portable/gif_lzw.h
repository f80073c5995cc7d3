// The variable-length-code LZW of GIF image data: codes taken least significant bit first
// from the data sub-blocks, a clear and an end code, widths growing from size + 1 to 12 bits.
#pragma once

#include "framework/portable/byte_stream.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace korva {

// Takes the decoded pixels, one byte each, a line of the picture's width at a time.
class GifLineSink {
public:
    virtual ~GifLineSink() = default;
    // Where the next line's pixels go: room for a whole line. Called before the first
    // pixel of each line.
    virtual std::uint8_t* BeginLine() = 0;
    // The line begun last holds `count` pixels: the whole width, or fewer when the data
    // ended inside it.
    virtual void EndLine(std::size_t count) = 0;
};

class GifLzwDecoder {
public:
    enum class Result {
        kEndCode,     // the end code was read
        kDataEnded,   // a zero-length sub-block before the end code
        kReadError,   // the file ended inside the data
        kBadCodeSize, // an initial code size outside 2 to 9
    };

    // Decodes the sub-blocks that follow the code-size byte into lines of `width` pixels
    // (none for a width of 0). A line the data end inside is handed over as it is after the
    // end code or an empty sub-block. Codes that point beyond the table are counted in
    // BadCodes() and decoded as the previous string followed by its first byte.
    Result Decode(ByteSource& source, int codeSize, std::size_t width, GifLineSink& lines);
    int BadCodes() const { return badCodes_; }

private:
    // Reads the sub-blocks into `data_`; the result is how they ended (the end of the data
    // for the codes, unless an end code comes first).
    Result ReadSubBlocks(ByteSource& source);

    // The table: each string is an earlier one (its prefix) followed by one byte.
    std::array<std::uint16_t, 4096> prefix_{};
    std::array<std::uint8_t, 4096> suffix_{};
    std::array<std::uint8_t, 4096> first_{};   // each string's first byte
    std::array<std::uint16_t, 4096> length_{}; // and its length
    std::array<std::uint64_t, 4096> tail_{};   // its last eight bytes, the first lowest
    // A string that does not fit in the rest of its line, before it is shared out.
    std::array<std::uint8_t, 4096> stack_{};
    // The sub-blocks' bytes one after the other, with spare zero bytes for reading codes.
    std::vector<std::uint8_t> data_;
    int badCodes_ = 0;
};

} // namespace korva
