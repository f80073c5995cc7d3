#include "imaging/portable/capture_choice.h"

#include <gtest/gtest.h>

using namespace korva;

TEST(CaptureChoice, EachAreaGivesItsRectangle) {
    CaptureGeometry g;
    g.screen = {0, 0, 1024, 768};
    g.parentWindow = {100, 50, 400, 300};
    g.parentClient = {103, 72, 397, 297};
    EXPECT_EQ(CaptureRectangle(kAreaPreviousWindow, g, 1, 2, 3, 4), g.parentWindow);
    EXPECT_EQ(CaptureRectangle(kAreaWholeScreen, g, 1, 2, 3, 4), g.screen);
    EXPECT_EQ(CaptureRectangle(kAreaScreenPart, g, 10, 20, 110, 70), (ScreenRect{10, 20, 110, 70}));
    EXPECT_EQ(CaptureRectangle(kAreaClient, g, 1, 2, 3, 4), g.parentClient);
    // No main window, or no choice at all: the whole screen.
    EXPECT_EQ(CaptureRectangle(kAreaMainWindow, g, 1, 2, 3, 4), g.screen);
    EXPECT_EQ(CaptureRectangle(kAreaNone, g, 1, 2, 3, 4), g.screen);
    g.hasMainWindow = true;
    g.mainWindow = {5, 6, 7, 8};
    EXPECT_EQ(CaptureRectangle(kAreaMainWindow, g, 1, 2, 3, 4), g.mainWindow);
    // A window beyond the screen's left edge gives the whole screen; beyond the top it does not.
    g.parentWindow = {-1, 50, 400, 300};
    g.mainWindow = {-30, 6, 7, 8};
    EXPECT_EQ(CaptureRectangle(kAreaPreviousWindow, g, 1, 2, 3, 4), g.screen);
    EXPECT_EQ(CaptureRectangle(kAreaMainWindow, g, 1, 2, 3, 4), g.screen);
    g.parentWindow = {0, -40, 400, 300};
    EXPECT_EQ(CaptureRectangle(kAreaPreviousWindow, g, 1, 2, 3, 4), g.parentWindow);
}

TEST(CaptureChoice, WholeNumbersAsTheDataExchangeTakesThem) {
    struct Case {
        const char* text;
        bool ok;
        int value;
    };
    const Case cases[] = {
        {"0", true, 0},
        {"10", true, 10},
        {"  -25\t", true, -25},
        {"+7", true, 7},
        {"007", true, 7},
        {"0 ", true, 0},
        {"", false, 0},
        {"   ", false, 0},
        {"12a", false, 0},
        {"1 2", false, 0},
        {"abc", false, 0},
        {"-0", false, 0},
        {"+0", false, 0},
        {"-", false, 0},
        {"1.5", false, 0},
        {"0x10", false, 0},
        {"\t3", true, 3},
        {"99999999999", true, 2147483647},
        {"-99999999999", true, -2147483647 - 1},
    };
    for (const Case& c : cases) {
        int value = 1234;
        EXPECT_EQ(ParseDialogInteger(c.text, value), c.ok) << '"' << c.text << '"';
        EXPECT_EQ(value, c.ok ? c.value : 1234) << '"' << c.text << '"';
    }
}
