// The variable-length-code LZW of GIF image data: codes taken least significant bit first
// from the data sub-blocks, a clear and an end code, widths growing from size + 1 to 12 bits.
#pragma once

#include "byte_stream.h"

#include <array>
#include <cstdint>
#include <functional>

namespace korva {

class GifLzwDecoder {
public:
    enum class Result {
        kEndCode,     // the end code was read
        kDataEnded,   // a zero-length sub-block before the end code
        kReadError,   // the file ended inside the data
        kBadCodeSize, // an initial code size outside 2 to 9
    };

    // Decodes the sub-blocks that follow the code-size byte, handing each decoded run of
    // pixel bytes to `output`. Codes that point beyond the table are counted in BadCodes()
    // and decoded as the previous string followed by its first byte.
    Result Decode(ByteSource& source, int codeSize,
                  const std::function<void(const std::uint8_t*, std::size_t)>& output);
    int BadCodes() const { return badCodes_; }

private:
    // The next code of `width` bits; false at the end of the data (see `ended_`).
    bool ReadCode(ByteSource& source, int width, int& code);

    std::array<std::uint16_t, 4096> prefix_{};
    std::array<std::uint8_t, 4096> suffix_{};
    std::array<std::uint8_t, 4096> stack_{};
    std::array<std::uint8_t, 256> block_{};
    std::size_t blockFill_ = 0;
    std::size_t blockPos_ = 0;
    std::uint32_t bits_ = 0;
    int bitCount_ = 0;
    Result ended_ = Result::kEndCode;
    int badCodes_ = 0;
};

} // namespace korva
