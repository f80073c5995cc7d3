// The picture files of the cover window and the menu, looked up in the installer's directory.
#pragma once

#include <string>
#include <vector>

namespace korva {

inline constexpr const char* kCoverDrawingName = "korva.wmf";
inline constexpr const char* kMenuPictureName = "menu.bmp";

// The cover bitmaps in the order they are tried on a screen of the given size: the one made
// for it (cover1.bmp for 640×480 and any unlisted size, cover2.bmp for 800×600, cover3.bmp
// for 1024×768), then cover1, cover2 and cover3.bmp.
std::vector<std::string> CoverCandidates(int screenWidth, int screenHeight);

} // namespace korva
