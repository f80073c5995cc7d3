// CTiff: a single-image TIFF file ("II" byte order, or the variant mark 'n','I'), first
// directory only, into a DIB: photometric 0 to 3, 1, 4 or 8 bits per sample, 24-bit RGB,
// strips uncompressed or LZW coded.
#pragma once

#include "framework/portable/byte_stream.h"
#include "imaging/portable/dib.h"
#include "imaging/portable/image_error.h"

#include <cstdint>
#include <string>
#include <vector>

namespace korva {

class CTiff {
public:
    // Reads the file; code -1 and "FILE ERROR" when it cannot be opened.
    DibBlock ReadTiff(const std::string& path);
    // Reads from the start of `source`. Blocks above `memoryLimit` count as no memory.
    DibBlock ReadTiff(ByteSource& source, std::uint64_t memoryLimit = kMaxDibBlockSize);

    // Whether the file begins with a byte-order mark this reader takes: a failure after it is
    // this reader's judgement of a TIFF file, one before it says only "not a TIFF file".
    bool RecognisedMark() const;

    // The last failure; its code is 1 ("no error yet") until a failure sets a negative one.
    const ImageError& Error() const { return error_; }
    // The reader's error code and text, as the loader and those who describe a file know them.
    int ErrorCode() const { return error_.code; }
    const std::string& ErrorText() const { return error_.text; }

    // Whether a palette goes with the picture (grey ramps of black-is-zero and colour maps).
    bool paletteMade_ = false;

    // The first directory's values.
    std::uint16_t byteOrder_ = 0;
    std::uint32_t width_ = 0;
    std::uint32_t height_ = 0;
    std::uint32_t bitsPerSample_ = 1;
    std::uint32_t samplesPerPixel_ = 1;
    std::uint32_t compression_ = 1;
    std::uint32_t photometric_ = 0;
    std::uint32_t rowsPerStrip_ = 0;
    std::uint32_t planarConfiguration_ = 1;
    std::uint32_t predictor_ = 1;
    double xResolution_ = 0;
    double yResolution_ = 0;
    std::vector<std::uint32_t> stripOffsets_;
    std::vector<std::uint32_t> stripByteCounts_;
    std::uint32_t colorMapOffset_ = 0;

private:
    void Fail(int code, const char* text);
    bool ReadDirectory(ByteSource& source);
    bool ReadColourMap(ByteSource& source, DibBlock& dib, std::uint32_t colours);
    bool ReadStrips(ByteSource& source, DibBlock& dib);

    ImageError error_{1, {}};
};

} // namespace korva
