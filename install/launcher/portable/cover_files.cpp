#include "install/launcher/portable/cover_files.h"

namespace korva {

std::vector<std::string> CoverCandidates(int screenWidth, int screenHeight) {
    const std::string base = "cover";
    std::string suffix = "1.bmp";
    if (screenWidth == 800 && screenHeight == 600) {
        suffix = "2.bmp";
    } else if (screenWidth == 1024 && screenHeight == 768) {
        suffix = "3.bmp";
    }
    // The first choice may come again in the fallback order: it is simply tried twice.
    return {base + suffix, base + "1.bmp", base + "2.bmp", base + "3.bmp"};
}

} // namespace korva
