// CGif: the first image of a GIF file (87a or 89a) as a DIB of 1, 4 or 8 bits per pixel,
// lines in the order they are stored (an interlaced image is not reordered).
#pragma once

#include "byte_stream.h"
#include "dib.h"

#include <cstdint>
#include <string>

namespace korva {

class CGif {
public:
    // What the format flag says after a failure.
    static constexpr int kNotAGif = 1;
    static constexpr int kUnreadableGif = 2;

    // Reads the file; null (and no text) when it cannot be opened.
    DibBlock ReadGif(const std::string& path);
    // Reads from the start of `source`. Blocks above `memoryLimit` count as no memory.
    DibBlock ReadGif(ByteSource& source, std::uint64_t memoryLimit = kMaxDibBlockSize);

    std::string lastErrorText;
    int formatFlag = 0;
    // Output depth and the colour table's origin, for those who describe the file.
    int colourBits = 0;
    bool globalTable = false;
    bool interlaced = false;
    int badCodes = 0;
    // Data that ended before the end code (a zero-length sub-block): what was read is kept.
    bool endedEarly = false;

private:
    void Fail(int flag, const char* text);
};

} // namespace korva
