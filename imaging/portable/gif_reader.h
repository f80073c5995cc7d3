// CGif: the first image of a GIF file (87a or 89a) as a DIB of 1, 4 or 8 bits per pixel,
// lines in the order they are stored (an interlaced image is not reordered).
#pragma once

#include "framework/portable/byte_stream.h"
#include "imaging/portable/dib.h"
#include "imaging/portable/image_error.h"

#include <cstdint>
#include <string>

namespace korva {

class CGif {
public:
    // What the format flag says: the last failure found a file that is not a GIF (code -3),
    // or a GIF that could not be read (code -2). It is 0 for any other failure, or none.
    static constexpr int kNotAGif = 1;
    static constexpr int kUnreadableGif = 2;

    // Reads the file; null (and no text) when it cannot be opened.
    DibBlock ReadGif(const std::string& path);
    // Reads from the start of `source`. Blocks above `memoryLimit` count as no memory.
    DibBlock ReadGif(ByteSource& source, std::uint64_t memoryLimit = kMaxDibBlockSize);

    // The last failure. Image data that do not decode, and a file that cannot be opened,
    // record none; memory that is not available records code -4.
    const ImageError& Error() const { return error_; }
    // The format flag and the last error text, as the loader and those who describe a file
    // know them; both come from the one error.
    int FormatFlag() const;
    const std::string& LastErrorText() const { return error_.text; }

    // Output depth and the colour table's origin, for those who describe the file.
    int colourBits_ = 0;
    bool globalTable_ = false;
    bool interlaced_ = false;
    int badCodes_ = 0;
    // Data that ended before the end code (a zero-length sub-block): what was read is kept.
    bool endedEarly_ = false;

private:
    ImageError error_;
};

} // namespace korva
