// The readers of the picture loader, in its order: a bitmap file of the three kinds first;
// then, while a reader answers "not my format" (code -3), TIFF and then GIF. What none of
// them reads goes on to the metafile reader, which needs the platform and is not part of this.
#pragma once

#include "framework/portable/byte_stream.h"
#include "imaging/portable/bitmap_file.h"
#include "imaging/portable/dib.h"
#include "imaging/portable/gif_reader.h"
#include "imaging/portable/image_error.h"
#include "imaging/portable/tiff_reader.h"

namespace korva {

enum class PictureFormat {
    kNone,
    kWindowsBitmap,
    kVariantR,
    kVariantP,
    kTiff,
    kGif,
};

const char* PictureFormatName(PictureFormat format);

struct PictureResult {
    DibBlock dib;
    ImageError error;
    PictureFormat format = PictureFormat::kNone;
    // Whether the reader builds a palette for the picture (from the DIB's colour table).
    bool makePalette = false;
    BitmapFileInfo bitmap;
    // The readers' own findings, for those who describe the file.
    CTiff tiff;
    CGif gif;
};

// Reads `source` from its start with each reader in turn. Blocks above `memoryLimit` count
// as memory not available.
PictureResult ReadPicture(ByteSource& source, std::uint64_t memoryLimit = kMaxDibBlockSize);

} // namespace korva
