#include "imaging/cdib.h"

#include "imaging/cwmf.h"
#include "imaging/dib_gdi.h"
#include "imaging/global_dib.h"
#include "imaging/lfile_stream.h"
#include "imaging/portable/bitmap_file.h"
#include "imaging/portable/picture_reader.h"

#include <array>

using namespace korva;

fw::UniqueBitmap CDib::LoadPicture(const std::string& fileName, fw::UniquePalette& palette,
                                   bool keepPalette) {
    PictureResult picture;
    {
        fw::UniqueLFile file = OpenForReading(fileName);
        if (!file) {
            lastError_.Set(kImageFileNotFound, texts::kFileNotFound);
            return {};
        }
        LFileSource source(file.Get());
        picture = ReadPicture(source);
    }
    // The readers that did not take the file leave their code and text, as a reader of ours
    // would; a file one of them takes leaves the last error as it was.
    if (picture.error.code != 0) {
        lastError_ = picture.error;
    }
    if (picture.dib.Empty()) {
        // Whatever no reader took may still be a metafile.
        CWmf metafile;
        fw::UniquePalette rendered;
        fw::UniqueBitmap bitmap =
            metafile.RenderMetafile(fileName, rendered, metafileWidth_, metafileHeight_);
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
        lastError_.SetCode(kImageConversionFailed);
        return {};
    }
    if (!keepPalette) {
        palette = std::move(built);
    }
    return bitmap;
}

fw::UniqueGlobal CDib::ReadDibFile(HFILE file, fw::UniquePalette* paletteOut, LONG fileLength) {
    LFileSource source(file);
    DibBlock dib = korva::ReadDibFile(
        source, fileLength > 0 ? static_cast<std::uint64_t>(fileLength) : 0, lastError_);
    if (dib.Empty()) {
        return {};
    }
    fw::UniqueGlobal block = GlobalFromDib(dib);
    if (!block) {
        lastError_.Set(kImageNoMemory, texts::kNoMemory);
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
    return static_cast<DWORD>(korva::WriteDibFile(sink, copy, kind, lastError_));
}

DWORD CDib::WriteDib16File(const std::string& fileName, HGLOBAL dib, int kind, HPALETTE palette) {
    DibBlock copy = DibFromGlobal(dib);
    if (copy.Empty()) {
        return 0;
    }
    // Only 8-bit pictures are reduced; refused before a file is made.
    if (copy.Header().bitCount != 8) {
        lastError_.SetCode(kImageWriteError);
        return 0;
    }
    const std::array<RgbQuad, 16> colours = FirstSixteenColours(palette);
    fw::UniqueLFile file = CreateForWriting(fileName);
    if (!file) {
        return 0;
    }
    LFileSink sink(file.Get());
    return static_cast<DWORD>(korva::WriteDib16File(sink, copy, kind, colours, lastError_));
}

fw::UniqueGlobal CDib::BitmapToDib(HBITMAP bitmap, HPALETTE palette,
                                   fw::UniquePalette* paletteOut) {
    fw::UniqueGlobal dib = DibFromBitmap(bitmap, palette, lastError_);
    if (!dib) {
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
        lastError_.SetCode(kImageConversionFailed);
    }
    return bitmap;
}

fw::UniquePalette CDib::MakeDibPalette(HGLOBAL dib) {
    DibBlock copy = DibFromGlobal(dib);
    return PaletteFromColourTable(copy.ColourTable());
}

fw::UniqueBitmap CDib::CaptureScreenArea(const RECT& area) {
    if (IsRectEmpty(&area)) {
        lastError_.SetText(texts::kEmptyRectangle);
        return {};
    }
    fw::UniqueBitmap bitmap = CaptureScreen(area);
    if (!bitmap) {
        // Nothing of the rectangle lies on the screen.
        lastError_.SetText(texts::kEmptyRectangle);
    }
    return bitmap;
}

DWORD CDib::SaveBitmapFile(HBITMAP bitmap, const std::string& fileName, int kind,
                           HPALETTE palette) {
    fw::UniqueGlobal dib = BitmapToDib(bitmap, palette, nullptr);
    if (!dib) {
        lastError_.SetText(texts::kCannotConvert);
        return 0;
    }
    DWORD written = WriteDibFile(fileName, dib.Get(), kind);
    if (written == 0) {
        lastError_.Set(kImageWriteError, texts::kCannotWrite);
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
        lastError_.Set(kImageWriteError, texts::kCannotWrite);
    }
    return written;
}
