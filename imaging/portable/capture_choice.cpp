#include "imaging/portable/capture_choice.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace korva {

ScreenRect CaptureRectangle(int area, const CaptureGeometry& geometry, int x1, int y1, int x2,
                            int y2) {
    ScreenRect rect = geometry.screen;
    switch (area) {
    case kAreaPreviousWindow:
        rect = geometry.parentWindow;
        break;
    case kAreaMainWindow:
        rect = geometry.hasMainWindow ? geometry.mainWindow : geometry.screen;
        break;
    case kAreaScreenPart:
        return {x1, y1, x2, y2};
    case kAreaClient:
        return geometry.parentClient;
    default:
        return geometry.screen;
    }
    return rect.left < 0 ? geometry.screen : rect;
}

bool ParseDialogInteger(std::string_view text, int& value) {
    std::size_t at = 0;
    auto skipBlanks = [&] {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) {
            ++at;
        }
    };
    skipBlanks();
    const char first = at < text.size() ? text[at] : '\0';
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    std::int64_t magnitude = 0;
    bool digits = false;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
        magnitude =
            std::min<std::int64_t>(magnitude * 10 + (text[at] - '0'), std::int64_t{1} << 32);
        digits = true;
        ++at;
    }
    std::int64_t number = negative ? -magnitude : magnitude;
    number = std::clamp<std::int64_t>(number, INT_MIN, INT_MAX);
    if (!digits || (number == 0 && first != '0')) {
        return false;
    }
    skipBlanks();
    if (at != text.size()) {
        return false;
    }
    value = static_cast<int>(number);
    return true;
}

} // namespace korva
