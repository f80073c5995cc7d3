// "Salva lo schermo" as the user meets it: Ctrl + a double click on a dialog of the program,
// the area and colour choices, the file written and its pixels against the screen. Run on
// the usual display and again on an 8-bit one (run_at_screen_size.sh).
#include "imaging/portable/colour_reduction.h"
#include "robot.h"
#include "scratch.h"
#include "tests/support/screen_check.h"
#include "test_name.h"

#include <gtest/gtest.h>

using testfs::TestName;

#include <array>
#include <cstdlib>
#include <sstream>

namespace {

constexpr const char* kHostTitle = "Finestra di prova";
constexpr const char* kCaptureTitle = "Salva lo schermo";
constexpr const char* kAppTitle = "Installazione di  KORVA '98 3.04";

constexpr int kX1 = 1103, kX2 = 1105, kY1 = 1108, kY2 = 1109, kFile = 1107;
constexpr int kSixteen = 1112, kTwoFiftySix = 1113;
constexpr int kPreviousWindow = 1114, kMainWindow = 1115, kWholeScreen = 1116, kScreenPart = 1117,
              kClientArea = 1480, kBrowse = 1118;
constexpr int kOption = 902; // a check box of the test program's dialog

std::string ProgramDir() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir = path;
    return dir.substr(0, dir.find_last_of('\\'));
}

int ScreenBits() {
    HDC screen = GetDC(nullptr);
    int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);
    return bits;
}

// Mouse and keyboard input as the user's hardware gives it, injected into the prefix.
class Input {
public:
    void Key(bool down) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = VK_CONTROL;
        input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
        Send(input);
    }
    void Mouse(POINT at, DWORD flags) {
        const int width = GetSystemMetrics(SM_CXSCREEN);
        const int height = GetSystemMetrics(SM_CYSCREEN);
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dx = (at.x * 65535 + width / 2) / (width - 1);
        input.mi.dy = (at.y * 65535 + height / 2) / (height - 1);
        input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
        Send(input);
    }
    void Click(POINT at) {
        Mouse(at, MOUSEEVENTF_LEFTDOWN);
        Mouse(at, MOUSEEVENTF_LEFTUP);
    }

private:
    static void Send(INPUT& input) {
        SendInput(1, &input, sizeof input);
        Sleep(20);
    }
};

// One click to bring the window under the point to the front (the keyboard state then goes
// to its thread), a pause so that it does not count as the start of a double click, then
// two clicks with Ctrl held, or without it.
void CtrlDoubleClick(POINT at, bool withCtrl = true) {
    Input input;
    input.Mouse(at, 0);
    input.Click(at);
    Sleep(GetDoubleClickTime() + 100);
    if (withCtrl) {
        input.Key(true);
    }
    input.Click(at);
    input.Click(at);
    if (withCtrl) {
        input.Key(false);
    }
}

// Checks a radio button as a click on it does.
// A click is the button's own press and release; when something else takes the mouse
// capture in between (the display still settling after the robot's real clicks), the button
// lets it go unclicked, as it would for a user, and the click is made again.
void ClickRadio(HWND dialog, int id) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
        robot::Sync(dialog);
        if (robot::IsChecked(dialog, id)) {
            return;
        }
    }
}

POINT InsideClientArea(HWND window, int dx, int dy) {
    RECT client = e2e::ClientRectOnScreen(window);
    return {client.left + dx, client.top + dy};
}

// The test program with its dialog, started in a scratch directory of its own.
class CaptureFixture : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* depth = std::getenv("KORVA_SCREEN_DEPTH")) {
            // Wine shows a 24-bit display as 32 bits per pixel.
            const int asked = std::atoi(depth);
            ASSERT_EQ(ScreenBits(), asked == 24 ? 32 : asked) << "the display's depth";
        }
        dir_ = testfs::FreshScratchDir(TestName());
        ASSERT_TRUE(process_.Start(ProgramDir() + "\\capture_host.exe", "", dir_));
        robot::WindowQuery query;
        query.processId = process_.Id();
        query.title = kHostTitle;
        host_ = robot::WaitForWindow(query);
        ASSERT_NE(host_, nullptr);
    }
    void TearDown() override { process_.Kill(); }

    HWND WaitCapture(DWORD timeoutMs = robot::kDefaultTimeoutMs) {
        robot::WindowQuery query;
        query.processId = process_.Id();
        query.title = kCaptureTitle;
        return robot::WaitForWindow(query, timeoutMs);
    }
    // Opens the capture dialog with Ctrl + double click on the host dialog's text.
    HWND OpenCapture() {
        CtrlDoubleClick(InsideClientArea(host_, 30, 12));
        return WaitCapture();
    }
    // Fills the dialog, confirms, and waits until the program is idle again.
    void Confirm(HWND capture, const std::string& file, std::vector<int> radios,
                 std::array<int, 4> coordinates = {0, 0, 0, 0}) {
        robot::SetItemText(capture, kFile, file);
        const int ids[] = {kX1, kY1, kX2, kY2};
        for (int i = 0; i < 4; ++i) {
            robot::SetItemText(capture, ids[i],
                               std::to_string(coordinates[static_cast<std::size_t>(i)]));
        }
        for (int id : radios) {
            ClickRadio(capture, id);
        }
        robot::Click(capture, IDOK);
        ASSERT_TRUE(WaitClosed(capture));
    }
    // The capture runs before the dialog's window is destroyed: once it is gone, the file
    // is written (or not) for good.
    static bool WaitClosed(HWND capture) {
        return robot::WaitUntil([&] { return !IsWindow(capture); });
    }
    std::string Path(const std::string& name) const { return dir_ + "\\" + name; }

    std::string dir_;
    robot::Process process_;
    HWND host_ = nullptr;
};

// The saved file: its header, and its pixels against the screen at `area`.
::testing::AssertionResult SavedScreenArea(const std::string& path, const RECT& area, int bits) {
    std::string bytes = testfs::ReadFile(path);
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') {
        return ::testing::AssertionFailure()
               << path << " is not a Windows bitmap (" << bytes.size() << " bytes)";
    }
    korva::DibBlock dib = e2e::ReadPictureFile(path);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (dib.Empty() || dib.Header().width != width || dib.Header().height != height) {
        return ::testing::AssertionFailure()
               << "size " << dib.Header().width << "x" << dib.Header().height << ", wanted "
               << width << "x" << height;
    }
    if (dib.Header().bitCount != bits) {
        return ::testing::AssertionFailure() << dib.Header().bitCount << " bits, wanted " << bits;
    }
    std::array<korva::RgbQuad, 16> sixteen{};
    if (bits == 4) {
        PALETTEENTRY entries[16] = {};
        HDC screen = GetDC(nullptr);
        GetSystemPaletteEntries(screen, 0, 16, entries);
        ReleaseDC(nullptr, screen);
        for (int i = 0; i < 16; ++i) {
            sixteen[static_cast<std::size_t>(i)] = {entries[i].peBlue, entries[i].peGreen,
                                                    entries[i].peRed, 0};
        }
    }
    e2e::Screenshot shot;
    std::ostringstream problems;
    int wrong = 0;
    for (int y = 0; y < height; y += 3) {
        for (int x = 0; x < width; x += 3) {
            std::uint32_t want = shot.At(area.left + x, area.top + y);
            if (bits == 4) {
                korva::RgbQuad colour{static_cast<std::uint8_t>(want),
                                      static_cast<std::uint8_t>(want >> 8),
                                      static_cast<std::uint8_t>(want >> 16), 0};
                want = e2e::Rgb(
                    sixteen[static_cast<std::size_t>(korva::NearestColourIndex(colour, sixteen))]);
            }
            const std::uint32_t got = e2e::Rgb(dib.Pixel(x, y));
            if (got != want && ++wrong <= 5) {
                problems << " at " << x << "," << y << ": " << std::hex << got << " not " << want
                         << std::dec;
            }
        }
    }
    if (wrong > 0) {
        return ::testing::AssertionFailure() << wrong << " pixels differ:" << problems.str();
    }
    return ::testing::AssertionSuccess();
}

RECT WholeScreen() {
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

RECT WindowRect(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return rect;
}

// Bits per pixel of a "256 Colori" file on this screen.
int FullDepth() {
    const int bits = ScreenBits();
    return bits <= 1 ? 1 : bits <= 4 ? 4 : bits <= 8 ? 8 : 24;
}

} // namespace

using Capture = CaptureFixture;

TEST_F(Capture, CtrlDoubleClickOnTheDialogOpensTheCaptureDialog) {
    // A double click without Ctrl, and one with Ctrl on a control of the dialog, open nothing.
    CtrlDoubleClick(InsideClientArea(host_, 30, 12), false);
    EXPECT_EQ(WaitCapture(700), nullptr);
    HWND option = GetDlgItem(host_, kOption);
    RECT box = WindowRect(option);
    CtrlDoubleClick({(box.left + box.right) / 2, (box.top + box.bottom) / 2});
    EXPECT_EQ(WaitCapture(700), nullptr);

    HWND capture = OpenCapture();
    ASSERT_NE(capture, nullptr);
    EXPECT_EQ(GetParent(capture), host_);
    const std::pair<int, const char*> texts[] = {
        {kSixteen, "16 Colori"},
        {kTwoFiftySix, "256 Colori"},
        {kPreviousWindow, "Finestra precedente"},
        {kMainWindow, "Finestra Principale"},
        {kWholeScreen, "Intero schermo"},
        {kScreenPart, "Una parte di schermo"},
        {kClientArea, "Area Cliente"},
        {IDOK, "&Conferma"},
        {IDCANCEL, "&Annulla"},
        {kBrowse, "Browse.."},
    };
    for (auto [id, text] : texts) {
        EXPECT_EQ(robot::ItemText(capture, id), text) << id;
    }
    for (int id : {kSixteen, kTwoFiftySix, kPreviousWindow, kMainWindow, kWholeScreen, kScreenPart,
                   kClientArea}) {
        EXPECT_FALSE(robot::IsChecked(capture, id)) << id;
    }
    for (int id : {kX1, kY1, kX2, kY2}) {
        EXPECT_EQ(robot::ItemText(capture, id), "0") << id;
    }
    EXPECT_EQ(robot::ItemText(capture, kFile), "");
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(capture, kBrowse)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(capture, kBrowse)));
    // The two colour buttons are in groups of their own: checking one leaves the other.
    ClickRadio(capture, kSixteen);
    ClickRadio(capture, kTwoFiftySix);
    EXPECT_TRUE(robot::IsChecked(capture, kSixteen));
    EXPECT_TRUE(robot::IsChecked(capture, kTwoFiftySix));
    ClickRadio(capture, kWholeScreen);
    ClickRadio(capture, kScreenPart);
    EXPECT_FALSE(robot::IsChecked(capture, kWholeScreen));

    robot::SetItemText(capture, kFile, Path("cancelled.bmp"));
    robot::Click(capture, IDCANCEL);
    EXPECT_TRUE(WaitClosed(capture));
    EXPECT_FALSE(testfs::Exists(Path("cancelled.bmp")));
}

TEST_F(Capture, APartOfTheScreenAtTheScreensDepth) {
    HWND capture = OpenCapture();
    ASSERT_NE(capture, nullptr);
    Confirm(capture, Path("part.bmp"), {kTwoFiftySix, kScreenPart}, {10, 20, 110, 70});
    EXPECT_TRUE(SavedScreenArea(Path("part.bmp"), {10, 20, 110, 70}, FullDepth()));
    if (FullDepth() == 8) {
        EXPECT_EQ(e2e::ReadPictureFile(Path("part.bmp")).ColourTable().size(), 256u);
    }
}

TEST_F(Capture, APreviousWindowBeyondTheLeftEdgeGivesTheWholeScreen) {
    SetWindowPos(host_, nullptr, -20, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    robot::Sync(host_);
    HWND capture = OpenCapture();
    ASSERT_NE(capture, nullptr);
    Confirm(capture, Path("left.bmp"), {kTwoFiftySix, kPreviousWindow});
    EXPECT_TRUE(SavedScreenArea(Path("left.bmp"), WholeScreen(), FullDepth()));
}

TEST_F(Capture, EveryAreaWithBothColourChoices) {
    struct Area {
        int radio; // 0: none checked
        RECT rect;
    };
    const Area areas[] = {
        {kPreviousWindow, WindowRect(host_)},
        {kMainWindow, WholeScreen()}, // the installer has no main window
        {kWholeScreen, WholeScreen()},
        {kScreenPart, {10, 20, 110, 70}},
        {kClientArea, e2e::ClientRectOnScreen(host_)},
        {0, WholeScreen()},
    };
    for (const Area& area : areas) {
        for (int colours : {kTwoFiftySix, kSixteen}) {
            SCOPED_TRACE(::testing::Message() << "area " << area.radio << ", colours " << colours);
            HWND capture = OpenCapture();
            ASSERT_NE(capture, nullptr);
            std::vector<int> radios = {colours};
            if (area.radio) {
                radios.push_back(area.radio);
            }
            const std::string name =
                "area" + std::to_string(area.radio) + "-" + std::to_string(colours) + ".bmp";
            Confirm(capture, Path(name), radios, {10, 20, 110, 70});
            if (colours == kSixteen && FullDepth() != 8) {
                // Only 8-bit pictures are reduced to 16 colours: nothing is written.
                EXPECT_FALSE(testfs::Exists(Path(name)));
                continue;
            }
            const int bits = colours == kSixteen ? 4 : FullDepth();
            EXPECT_TRUE(SavedScreenArea(Path(name), area.rect, bits));
            if (bits == 4) {
                const std::string bytes = testfs::ReadFile(Path(name));
                ASSERT_GE(bytes.size(), 118u);
                EXPECT_EQ(static_cast<unsigned char>(bytes[10]), 118); // pixels start at byte 118
            }
            if (bits == 8) {
                EXPECT_EQ(e2e::ReadPictureFile(Path(name)).ColourTable().size(), 256u);
            }
        }
    }
}

TEST_F(Capture, AnInvalidCoordinateKeepsTheDialogOpen) {
    HWND capture = OpenCapture();
    ASSERT_NE(capture, nullptr);
    robot::SetItemText(capture, kFile, Path("invalid.bmp"));
    robot::SetItemText(capture, kX1, "10");
    robot::SetItemText(capture, kY1, "2O"); // a letter O
    robot::SetItemText(capture, kX2, "60");
    robot::SetItemText(capture, kY2, "40");
    ClickRadio(capture, kTwoFiftySix);
    ClickRadio(capture, kScreenPart);
    robot::Click(capture, IDOK);
    HWND box = robot::WaitForMessageBox(process_.Id(), "Immettere un numero intero.");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(robot::Text(box), kAppTitle);
    robot::Click(box, IDOK);
    ASSERT_TRUE(robot::WaitForWindowGone(box));
    robot::Sync(capture);
    EXPECT_TRUE(IsWindowVisible(capture));
    EXPECT_FALSE(testfs::Exists(Path("invalid.bmp")));

    robot::SetItemText(capture, kY1, " 20 ");
    robot::Click(capture, IDOK);
    ASSERT_TRUE(WaitClosed(capture));
    EXPECT_TRUE(SavedScreenArea(Path("invalid.bmp"), {10, 20, 60, 40}, FullDepth()));
}

TEST_F(Capture, TheFileNameIsUsedAsTyped) {
    // Relative to the program's current directory, with no extension added.
    HWND capture = OpenCapture();
    ASSERT_NE(capture, nullptr);
    Confirm(capture, "relative", {kTwoFiftySix, kScreenPart}, {0, 0, 30, 30});
    EXPECT_TRUE(SavedScreenArea(Path("relative"), {0, 0, 30, 30}, FullDepth()));

    // An empty rectangle writes nothing.
    capture = OpenCapture();
    ASSERT_NE(capture, nullptr);
    Confirm(capture, Path("empty.bmp"), {kTwoFiftySix, kScreenPart}, {50, 50, 50, 90});
    EXPECT_FALSE(testfs::Exists(Path("empty.bmp")));
}
