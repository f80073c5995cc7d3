#include "cdib.h"

#include "bitmap_file.h"
#include "cwmf.h"
#include "dib_gdi.h"
#include "global_dib.h"
#include "lfile_stream.h"
#include "picture_reader.h"

#include <array>
#include <cstring>
#include <vector>

using namespace korva;

void CDib::SetText(const std::string& text) {
    const std::size_t length = std::min(text.size(), sizeof lastErrorText - 1);
    std::memcpy(lastErrorText, text.data(), length);
    lastErrorText[length] = '\0';
}

void CDib::SetError(int code, const std::string& text) {
    lastErrorCode = code;
    SetText(text);
}

void CDib::SetError(const ImageError& error) {
    lastErrorCode = error.code;
    if (!error.text.empty()) {
        SetText(error.text);
    }
}

fw::UniqueBitmap CDib::LoadPicture(const std::string& fileName, fw::UniquePalette& palette,
                                   bool keepPalette) {
    PictureResult picture;
    {
        fw::UniqueLFile file = OpenForReading(fileName);
        if (!file) {
            SetError(kImageFileNotFound, texts::kFileNotFound);
            return {};
        }
        LFileSource source(file.Get());
        picture = ReadPicture(source);
    }
    // The readers that did not take the file leave their code, as a reader of ours would.
    if (picture.error.code != 0) {
        SetError(picture.error);
    }
    if (picture.dib.Empty()) {
        // Whatever no reader took may still be a metafile.
        CWmf metafile;
        fw::UniquePalette rendered;
        fw::UniqueBitmap bitmap =
            metafile.RenderMetafile(fileName, rendered, metafileWidth, metafileHeight);
        if (bitmap && !keepPalette) {
            palette = std::move(rendered);
        }
        return bitmap;
    }
    fw::UniquePalette built;
    if (!keepPalette && picture.makePalette) {
        built = PaletteFromColourTable(picture.dib.ColourTable());
    }
    fw::UniqueBitmap bitmap =
        BitmapFromDib(picture.dib.Data(), keepPalette ? palette.Get() : built.Get());
    if (!bitmap) {
        lastErrorCode = kImageConversionFailed;
        return {};
    }
    if (!keepPalette) {
        palette = std::move(built);
    }
    return bitmap;
}

fw::UniqueGlobal CDib::ReadDibFile(HFILE file, fw::UniquePalette* paletteOut, LONG fileLength) {
    LFileSource source(file);
    ImageError error;
    DibBlock dib = korva::ReadDibFile(
        source, fileLength > 0 ? static_cast<std::uint64_t>(fileLength) : 0, error);
    if (dib.Empty()) {
        SetError(error);
        return {};
    }
    fw::UniqueGlobal block = GlobalFromDib(dib);
    if (!block) {
        SetError(kImageNoMemory, texts::kNoMemory);
        return {};
    }
    if (paletteOut) {
        *paletteOut = PaletteFromColourTable(dib.ColourTable());
    }
    return block;
}

DWORD CDib::WriteDibFile(const std::string& fileName, HGLOBAL dib, int kind) {
    DibBlock copy = DibFromGlobal(dib);
    if (copy.Empty()) {
        return 0;
    }
    fw::UniqueLFile file = CreateForWriting(fileName);
    if (!file) {
        return 0;
    }
    LFileSink sink(file.Get());
    ImageError error;
    std::uint64_t written = korva::WriteDibFile(sink, copy, kind, error);
    if (written == 0) {
        lastErrorCode = error.code;
    }
    return static_cast<DWORD>(written);
}

DWORD CDib::WriteDib16File(const std::string& fileName, HGLOBAL dib, int kind, HPALETTE palette) {
    DibBlock copy = DibFromGlobal(dib);
    if (copy.Empty()) {
        return 0;
    }
    // Only 8-bit pictures are reduced; refused before a file is made.
    if (copy.Header().bitCount != 8) {
        lastErrorCode = kImageReadError;
        return 0;
    }
    const std::array<RgbQuad, 16> colours = FirstSixteenColours(palette);
    fw::UniqueLFile file = CreateForWriting(fileName);
    if (!file) {
        return 0;
    }
    LFileSink sink(file.Get());
    ImageError error;
    std::uint64_t written = korva::WriteDib16File(sink, copy, kind, colours, error);
    if (written == 0) {
        lastErrorCode = error.code;
    }
    return static_cast<DWORD>(written);
}

fw::UniqueGlobal CDib::BitmapToDib(HBITMAP bitmap, HPALETTE palette,
                                   fw::UniquePalette* paletteOut) {
    int code = 0;
    fw::UniqueGlobal dib = DibFromBitmap(bitmap, palette, code);
    if (!dib) {
        lastErrorCode = code;
        return {};
    }
    if (!palette && paletteOut) {
        *paletteOut = MakeDibPalette(dib.Get());
    }
    return dib;
}

fw::UniqueBitmap CDib::DibToBitmap(HGLOBAL dib, HPALETTE palette) {
    LockedGlobal lock(dib);
    fw::UniqueBitmap bitmap;
    if (lock.Size() >= kInfoHeaderSize) {
        bitmap = BitmapFromDib(lock.Data(), palette);
    }
    if (!bitmap) {
        lastErrorCode = kImageConversionFailed;
    }
    return bitmap;
}

fw::UniquePalette CDib::MakeDibPalette(HGLOBAL dib) {
    DibBlock copy = DibFromGlobal(dib);
    return PaletteFromColourTable(copy.ColourTable());
}

fw::UniqueBitmap CDib::CaptureScreenArea(const RECT& area) {
    if (IsRectEmpty(&area)) {
        SetText(texts::kEmptyRectangle);
        return {};
    }
    fw::UniqueBitmap bitmap = CaptureScreen(area);
    if (!bitmap) {
        // Nothing of the rectangle lies on the screen.
        SetText(texts::kEmptyRectangle);
    }
    return bitmap;
}

DWORD CDib::SaveBitmapFile(HBITMAP bitmap, const std::string& fileName, int kind,
                           HPALETTE palette) {
    fw::UniqueGlobal dib = BitmapToDib(bitmap, palette, nullptr);
    if (!dib) {
        SetText(texts::kCannotConvert);
        return 0;
    }
    DWORD written = WriteDibFile(fileName, dib.Get(), kind);
    if (written == 0) {
        SetError(kImageReadError, texts::kCannotWrite);
    }
    return written;
}

DWORD CDib::SaveBitmap16File(HBITMAP bitmap, const std::string& fileName, int kind,
                             HPALETTE palette) {
    fw::UniqueGlobal dib = BitmapToDib(bitmap, palette, nullptr);
    if (!dib) {
        return 0;
    }
    DWORD written = WriteDib16File(fileName, dib.Get(), kind, palette);
    if (written == 0) {
        SetError(kImageReadError, texts::kCannotWrite);
    }
    return written;
}
