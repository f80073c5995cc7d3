#include "imaging/portable/picture_reader.h"

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
    // Each failure carries the text of the reader that judged the file, never one left over
    // from a reader that did not recognise it.
    result.error.Set(kImageUnknownFormat, texts::kInvalidFormat);
    // The TIFF reader's code replaces the bitmap reader's, whatever it is.
    result.dib = result.tiff.ReadTiff(source, memoryLimit);
    if (!result.dib.Empty()) {
        result.format = PictureFormat::kTiff;
        result.makePalette = result.tiff.paletteMade_;
        return result;
    }
    const ImageError& tiffError = result.tiff.Error();
    if (result.tiff.RecognisedMark()) {
        // A TIFF whose coding no reader takes records no text of its own.
        result.error.Set(tiffError.code,
                         tiffError.text.empty() ? texts::kUnsupportedFormat : tiffError.text);
    }
    if (tiffError.code != kImageUnknownFormat) {
        return result;
    }
    result.dib = result.gif.ReadGif(source, memoryLimit);
    if (!result.dib.Empty()) {
        result.format = PictureFormat::kGif;
        result.makePalette = true;
        return result;
    }
    const ImageError& gifError = result.gif.Error();
    if (gifError.code == kImageUnknownFormat) {
        // Only a file that is not a GIF keeps "not my format" (the code the TIFF reader left),
        // with the text of the last reader that recognised it, or "Invalid format".
        return result;
    }
    if (gifError.code == kImageNoMemory) {
        result.error = gifError;
    } else {
        // A GIF that could not be read is a read failure; image data that do not decode
        // record no text of the GIF reader's own.
        result.error.Set(kImageReadError,
                         gifError.text.empty() ? texts::kReadError : gifError.text);
    }
    return result;
}

} // namespace korva
