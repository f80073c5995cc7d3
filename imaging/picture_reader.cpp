#include "picture_reader.h"

namespace korva {

const char* PictureFormatName(PictureFormat format) {
    switch (format) {
    case PictureFormat::kWindowsBitmap:
        return "Windows bitmap";
    case PictureFormat::kVariantR:
        return "RM bitmap";
    case PictureFormat::kVariantP:
        return "PM bitmap";
    case PictureFormat::kNone:
        break;
    }
    return "unknown";
}

PictureResult ReadPicture(ByteSource& source) {
    PictureResult result;
    source.Seek(0);
    result.dib = ReadDibFile(source, 0, result.error, &result.bitmap);
    if (!result.dib.Empty()) {
        result.makePalette = true;
        switch (result.bitmap.signature) {
        case kSignatureVariantR:
            result.format = PictureFormat::kVariantR;
            break;
        case kSignatureVariantP:
            result.format = PictureFormat::kVariantP;
            break;
        default:
            result.format = PictureFormat::kWindowsBitmap;
            break;
        }
        return result;
    }
    // Not a bitmap file (-3): the TIFF and then the GIF reader take their turn here.
    return result;
}

} // namespace korva
