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
    // Each failure carries the text of the reader that judged the file, never one left over
    // from a reader that did not recognise it.
    result.error.Set(kImageUnknownFormat, texts::kInvalidFormat);
    // The TIFF reader's code replaces the bitmap reader's, whatever it is.
    result.dib = result.tiff.ReadTiff(source, memoryLimit);
    if (!result.dib.Empty()) {
        result.format = PictureFormat::kTiff;
        result.makePalette = result.tiff.paletteMade;
        return result;
    }
    const bool tiffJudged = result.tiff.RecognisedMark();
    if (tiffJudged) {
        // A TIFF whose coding no reader takes records no text of its own.
        result.error.Set(result.tiff.errorCode, result.tiff.errorText.empty()
                                                    ? texts::kUnsupportedFormat
                                                    : result.tiff.errorText.c_str());
    }
    if (result.tiff.errorCode != kImageUnknownFormat) {
        return result;
    }
    result.dib = result.gif.ReadGif(source, memoryLimit);
    if (!result.dib.Empty()) {
        result.format = PictureFormat::kGif;
        result.makePalette = true;
        return result;
    }
    if (result.gif.formatFlag == CGif::kNotAGif) {
        // Only a file that is not a GIF keeps "not my format", with the text of the last
        // reader that recognised it, or "Invalid format".
        result.error.code = kImageUnknownFormat;
        return result;
    }
    // A GIF that could not be read is a read failure, or a memory one; image data that do not
    // decode record no text of the GIF reader's own.
    if (result.gif.lastErrorText == texts::kNoMemory) {
        result.error.Set(kImageNoMemory, texts::kNoMemory);
    } else {
        result.error.Set(kImageReadError, result.gif.lastErrorText.empty()
                                              ? texts::kReadError
                                              : result.gif.lastErrorText.c_str());
    }
    return result;
}

} // namespace korva
