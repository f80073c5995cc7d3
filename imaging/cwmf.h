// CWmf: a Windows metafile, plain or placeable, played into a bitmap of a given size whose
// logical units 0 to 800 fill it in both directions, on white, with the system palette.
#pragma once

#include "framework/handles.h"
#include "framework/portable/object.h"

#include <string>

class CWmf : public CObject {
public:
    // Measures the planes and bits per pixel of the screen.
    CWmf();

    // Null when the file cannot be opened or played; otherwise the bitmap, and the palette
    // (as many entries as the display's palette) in `paletteOut`.
    fw::UniqueBitmap RenderMetafile(const std::string& fileName, fw::UniquePalette& paletteOut,
                                    int width, int height);
    fw::UniqueMetafile OpenMetafile(const std::string& fileName);

    int playResult_ = 1;
    int plainFlag_ = 0;
    int planes_ = 1;
    int bitsPerPixel_ = 1;

private:
    fw::UniqueMetafile OpenPlaceable(HFILE file);
};
