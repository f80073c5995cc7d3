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
    case PictureFormat::kTiff:
        return "TIFF";
    case PictureFormat::kGif:
        return "GIF";
    case PictureFormat::kNone:
        break;
    }
    return "unknown";
}

PictureResult ReadPicture(ByteSource& source, std::uint64_t memoryLimit) {
    PictureResult result;
    source.Seek(0);
    result.dib = ReadDibFile(source, 0, result.error, &result.bitmap, memoryLimit);
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
    if (result.error.code != kImageUnknownFormat) {
        return result;
    }
    // The TIFF reader's code replaces the bitmap reader's, whatever it is.
    result.dib = result.tiff.ReadTiff(source, memoryLimit);
    if (!result.dib.Empty()) {
        result.format = PictureFormat::kTiff;
        result.makePalette = result.tiff.paletteMade;
        return result;
    }
    result.error.code = result.tiff.errorCode;
    if (!result.tiff.errorText.empty()) {
        result.error.text = result.tiff.errorText;
    }
    if (result.error.code != kImageUnknownFormat) {
        return result;
    }
    result.dib = result.gif.ReadGif(source, memoryLimit);
    if (!result.dib.Empty()) {
        result.format = PictureFormat::kGif;
        result.makePalette = true;
        return result;
    }
    if (!result.gif.lastErrorText.empty()) {
        result.error.text = result.gif.lastErrorText;
    }
    // Only a file that is not a GIF keeps "not my format"; a GIF that could not be read is a
    // read failure, or a memory one.
    if (result.gif.formatFlag == CGif::kNotAGif) {
        result.error.code = kImageUnknownFormat;
    } else if (result.gif.lastErrorText == texts::kNoMemory) {
        result.error.code = kImageNoMemory;
    } else {
        result.error.code = kImageReadError;
    }
    return result;
}

} // namespace korva
