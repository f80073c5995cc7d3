// CDib: the picture loader and the bitmap conversions of the image library. Created on the
// stack for one operation; it keeps the code and text of its last failure in one ImageError
// (the code is not cleared by a later success). Handles it returns belong to the caller.
#pragma once

#include "framework/handles.h"
#include "framework/portable/object.h"
#include "imaging/portable/image_error.h"

#include <string>

class CDib : public CObject {
public:
    // Loads a bitmap file of the three kinds, a TIFF or GIF file, or else a metafile rendered
    // into a bitmap of metafileWidth_ × metafileHeight_. With keepPalette false the palette
    // built for the picture replaces `palette` and is used for the conversion; with it true,
    // `palette` is used as it is and kept. Null on failure (and `palette` is left alone).
    fw::UniqueBitmap LoadPicture(const std::string& fileName, fw::UniquePalette& palette,
                                 bool keepPalette);

    // Reads one bitmap file from the start of an open file; `fileLength` 0 takes the file's.
    fw::UniqueGlobal ReadDibFile(HFILE file, fw::UniquePalette* paletteOut, LONG fileLength);
    // Kind 0 Windows bitmap, 1 RM, 2 RM run-length coded, 3 PM. Bytes written or 0.
    DWORD WriteDibFile(const std::string& fileName, HGLOBAL dib, int kind);
    // An 8-bit DIB reduced to the first 16 colours of `palette` (or of the system palette).
    DWORD WriteDib16File(const std::string& fileName, HGLOBAL dib, int kind, HPALETTE palette);

    fw::UniqueGlobal BitmapToDib(HBITMAP bitmap, HPALETTE palette, fw::UniquePalette* paletteOut);
    fw::UniqueBitmap DibToBitmap(HGLOBAL dib, HPALETTE palette);
    fw::UniquePalette MakeDibPalette(HGLOBAL dib);
    // The screen area, cut at the screen's edges; null for an empty rectangle.
    fw::UniqueBitmap CaptureScreenArea(const RECT& area);
    DWORD SaveBitmapFile(HBITMAP bitmap, const std::string& fileName, int kind, HPALETTE palette);
    DWORD SaveBitmap16File(HBITMAP bitmap, const std::string& fileName, int kind, HPALETTE palette);

    const korva::ImageError& LastError() const { return lastError_; }
    // The last error's text and code, as callers of the library know them.
    const char* LastErrorText() const { return lastError_.text.c_str(); }
    int LastErrorCode() const { return lastError_.code; }

    int metafileWidth_ = 110;
    int metafileHeight_ = 110;

private:
    korva::ImageError lastError_;
};
