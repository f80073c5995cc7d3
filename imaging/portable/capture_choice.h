// What the screen-capture dialog captures: the rectangle for each area choice, and the
// whole-number check of its coordinate fields.
#pragma once

#include <string_view>

namespace korva {

struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const ScreenRect&) const = default;
};

// The area radio buttons, in their order; -1 when none is checked.
enum CaptureArea : int {
    kAreaNone = -1,
    kAreaPreviousWindow = 0, // "Finestra precedente": the dialog the capture was opened from
    kAreaMainWindow = 1,     // "Finestra Principale": the application's main window
    kAreaWholeScreen = 2,    // "Intero schermo"
    kAreaScreenPart = 3,     // "Una parte di schermo": x1, y1 - x2, y2
    kAreaClient = 4,         // "Area Cliente": the client area of that dialog
};

struct CaptureGeometry {
    ScreenRect screen;       // 0,0 - the display's resolution
    ScreenRect parentWindow; // the dialog the capture was opened from, in screen coordinates
    ScreenRect parentClient; // its client area, in screen coordinates
    bool hasMainWindow = false;
    ScreenRect mainWindow;
};

// The rectangle to capture for `area`. A window that sticks out beyond the screen's left
// edge, a missing main window and no choice at all give the whole screen.
ScreenRect CaptureRectangle(int area, const CaptureGeometry& geometry, int x1, int y1, int x2,
                            int y2);

// A whole number as the framework's data exchange accepts it: blanks and tabs around an
// optionally signed decimal number, nothing else; a result of 0 only from a text that
// begins with the digit 0. Values beyond 32 bits are held at the largest of their sign.
bool ParseDialogInteger(std::string_view text, int& value);

} // namespace korva
