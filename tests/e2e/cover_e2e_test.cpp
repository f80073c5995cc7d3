// The pictures of the launcher as the user sees them: the menu's background, the cover chosen
// for the screen size with its fallbacks, and the metafile cover in its frame, checked in
// screenshots against the picture files.
#include "tests/support/installer_driver.h"
#include "scratch.h"
#include "tests/support/screen_check.h"
#include "test_picture.h"
#include "test_name.h"

#include <gtest/gtest.h>

using testfs::TestName;

#include <cstdlib>

using namespace e2e;

namespace {

constexpr int kItalia = 1061;

// A CD copy with the given picture files of the sample CD (same names) and extra files.
std::string CdWithPictures(const std::vector<std::string>& pictures,
                           const std::vector<std::pair<std::string, std::string>>& extra = {}) {
    const std::string cd = MakeCd(TestName(), {});
    for (const std::string& name : pictures) {
        testfs::CopyFileOrFail(testfs::SampleCd() + "\\" + name, cd + "\\" + name);
    }
    for (const auto& [name, text] : extra) {
        testfs::WriteFile(cd + "\\" + name, text);
    }
    return cd;
}

using testfs::TestPicture;

korva::DibBlock SamplePicture(const std::string& name) {
    return ReadPictureFile(testfs::SampleCd() + "\\" + name);
}

std::uint32_t DialogGrey() {
    return GetSysColor(COLOR_BTNFACE) & 0xFFFFFF;
}

std::vector<RECT> WindowRects(const std::vector<HWND>& windows) {
    std::vector<RECT> rects;
    for (HWND window : windows) {
        RECT rect;
        GetWindowRect(window, &rect);
        rects.push_back(rect);
    }
    return rects;
}

// Starts the launcher on `cd`, opens the Italia edition's cover and waits for the welcome
// dialog in front of it.
struct CoverRun {
    explicit CoverRun(const std::string& cd) : run(cd) {}
    bool Open() {
        if (!run.Start("")) {
            return false;
        }
        HWND menu = run.WaitMenu();
        if (!menu || !robot::Click(menu, kItalia)) {
            return false;
        }
        welcome = run.WaitWelcome();
        cover = run.WaitWindow(kCoverTitle);
        return welcome && cover;
    }
    RECT Client() const { return ClientRectOnScreen(cover); }
    std::vector<RECT> InFront() const { return WindowRects({welcome}); }
    ~CoverRun() {
        if (welcome) {
            robot::Click(welcome, IDCANCEL);
        }
    }

    InstallerRun run;
    HWND welcome = nullptr;
    HWND cover = nullptr;
};

// The cover the launcher picks first on this screen.
std::string CoverMadeFor(int width, int height) {
    if (width == 800 && height == 600) {
        return "cover2.bmp";
    }
    if (width == 1024 && height == 768) {
        return "cover3.bmp";
    }
    return "cover1.bmp";
}

class Pictures : public ::testing::Test {};

// Run by run_at_screen_size.sh on displays of each size.
class CoverAtScreenSize : public ::testing::Test {
protected:
    void SetUp() override {
        width_ = GetSystemMetrics(SM_CXSCREEN);
        height_ = GetSystemMetrics(SM_CYSCREEN);
        if (const char* asked = std::getenv("KORVA_SCREEN_SIZE")) {
            ASSERT_EQ(std::to_string(width_) + "x" + std::to_string(height_), asked)
                << "the display does not have the size the test was started for";
        }
    }
    int width_ = 0;
    int height_ = 0;
};

} // namespace

TEST_F(Pictures, MenuShowsItsBackgroundStretchedOverTheClientArea) {
    InstallerRun run(CdWithPictures({"menu.bmp"}));
    ASSERT_TRUE(run.Start(""));
    HWND menu = run.WaitMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(ShowsPicture(ClientRectOnScreen(menu), SamplePicture("menu.bmp"), GridSamples(8, 6),
                             ChildRects(menu)));
    EXPECT_EQ(run.CloseMenuAndWait(), 0);
}

TEST_F(Pictures, MenuWithoutItsPictureKeepsThePlainBackground) {
    InstallerRun run(CdWithPictures({}, {{"menu.bmp", "not a picture"}}));
    ASSERT_TRUE(run.Start(""));
    HWND menu = run.WaitMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(
        ShowsColour(ClientRectOnScreen(menu), DialogGrey(), GridSamples(8, 6), ChildRects(menu)));
    EXPECT_EQ(run.CloseMenuAndWait(), 0);
}

TEST_F(Pictures, CoverDrawingIsScaledIntoItsFrame) {
    CoverRun cover(CdWithPictures({"korva.wmf"}));
    ASSERT_TRUE(cover.Open());
    const RECT client = cover.Client();
    const int w = client.right - client.left;
    const int h = client.bottom - client.top;
    // Logical units of the drawing: 800 × 800 over the client area. Each colour is looked
    // for at several places, since the welcome dialog hides some of them.
    auto at = [&](int lx, int ly, std::uint32_t rgb) {
        return ExpectedPoint{client.left + lx * w / 800, client.top + ly * h / 800, rgb};
    };
    const std::vector<RECT> hidden = cover.InFront();
    struct Shape {
        const char* name;
        std::vector<ExpectedPoint> points;
    };
    const Shape shapes[] = {
        // Inside the blue rectangle 100,100 - 700,350.
        {"rectangle",
         {at(150, 150, 0x0000FF), at(650, 150, 0x0000FF), at(650, 300, 0x0000FF),
          at(150, 300, 0x0000FF), at(400, 225, 0x0000FF)}},
        // Inside the red ellipse 200,450 - 600,750.
        {"ellipse",
         {at(400, 600, 0xFF0000), at(300, 650, 0xFF0000), at(500, 650, 0xFF0000),
          at(400, 500, 0xFF0000)}},
        // Inside the frame, outside both shapes.
        {"background",
         {at(750, 420, 0xFFFFFF), at(50, 420, 0xFFFFFF), at(750, 760, 0xFFFFFF),
          at(50, 50, 0xFFFFFF)}},
        // The frame: black lines at the left and at one pixel less than the client width and
        // height; the last column and row keep the dialog's background.
        {"frame",
         {{client.left, client.top + h / 2, 0x000000},
          {client.right - 2, client.top + h / 2, 0x000000},
          {client.right - 1, client.top + h / 2, DialogGrey()},
          {client.right - 2, client.bottom - 20, 0x000000},
          {client.right - 1, client.bottom - 20, DialogGrey()},
          {client.left + w - 100, client.bottom - 2, 0x000000},
          {client.left + w - 100, client.bottom - 1, DialogGrey()}}},
    };
    for (const Shape& shape : shapes) {
        EXPECT_TRUE(ShowsPoints(shape.points, hidden)) << shape.name;
    }
}

TEST_F(Pictures, WithoutAnyPictureTheCoverKeepsThePlainBackground) {
    CoverRun cover(CdWithPictures({}, {{"cover1.bmp", "broken"}, {"korva.wmf", "broken"}}));
    ASSERT_TRUE(cover.Open());
    EXPECT_TRUE(ShowsColour(cover.Client(), DialogGrey(), GridSamples(6, 5), cover.InFront()));
}

TEST_F(Pictures, ABrokenCoverFallsBackToTheNextOne) {
    // cover3.bmp is the first choice at 1024×768; elsewhere cover1 comes first anyway.
    CoverRun cover(CdWithPictures({"cover1.bmp", "korva.wmf"}, {{"cover3.bmp", "BM broken"}}));
    ASSERT_TRUE(cover.Open());
    EXPECT_TRUE(ShowsPicture(cover.Client(), SamplePicture("cover1.bmp"), GridSamples(8, 6),
                             cover.InFront()));
}

TEST_F(Pictures, GifAndTiffFilesAreShownAsTheCover) {
    // The sample cover converted by ImageMagick, under the cover's own name.
    for (const char* converted : {"cover1.gif", "cover1.tif"}) {
        SCOPED_TRACE(converted);
        const std::string cd = MakeCd(TestName(), {});
        testfs::CopyFileOrFail(TestPicture(converted), cd + "\\cover1.bmp");
        CoverRun cover(cd);
        ASSERT_TRUE(cover.Open());
        EXPECT_TRUE(ShowsPicture(cover.Client(), SamplePicture("cover1.bmp"), GridSamples(8, 6),
                                 cover.InFront()));
    }
}

TEST_F(CoverAtScreenSize, TheCoverMadeForTheScreenIsShown) {
    CoverRun cover(CdWithPictures({"cover1.bmp", "cover2.bmp", "cover3.bmp", "korva.wmf"}));
    ASSERT_TRUE(cover.Open());
    RECT window;
    GetWindowRect(cover.cover, &window);
    EXPECT_EQ(window.right - window.left, width_);
    EXPECT_EQ(window.bottom - window.top, height_);
    EXPECT_TRUE(ShowsPicture(cover.Client(), SamplePicture(CoverMadeFor(width_, height_)),
                             GridSamples(8, 6), cover.InFront()));
}

TEST_F(CoverAtScreenSize, OnlyCover1IsStretchedToAnyScreen) {
    CoverRun cover(CdWithPictures({"cover1.bmp"}));
    ASSERT_TRUE(cover.Open());
    EXPECT_TRUE(ShowsPicture(cover.Client(), SamplePicture("cover1.bmp"), GridSamples(8, 6),
                             cover.InFront()));
}

TEST_F(CoverAtScreenSize, OnlyCover3IsFoundLast) {
    CoverRun cover(CdWithPictures({"cover3.bmp"}));
    ASSERT_TRUE(cover.Open());
    EXPECT_TRUE(ShowsPicture(cover.Client(), SamplePicture("cover3.bmp"), GridSamples(8, 6),
                             cover.InFront()));
}
