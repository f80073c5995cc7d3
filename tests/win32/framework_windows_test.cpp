// The framework's windows on the real platform: an exception that leaves a handler of a frame
// or a dialog ends at the window procedure and the window goes on working, and a dialog paints
// in the colours it is given and in the system's without them.
#include "framework/dialog.h"
#include "framework/frame.h"
#include "framework/handles.h"

#include "framework_windows.h"
#include "robot.h"
#include "tests/support/ui_thread.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

namespace {

constexpr UINT kThrow = WM_APP;
constexpr UINT kAnswer = WM_APP + 1;
constexpr LRESULT kAnswerValue = 42;
// No resources of this id: the frame gets no menu and an empty title.
constexpr UINT kNoResources = 7;

class ThrowingFrame : public CFrameWnd {
public:
    int thrown = 0;
    bool closeFails = false;

protected:
    bool OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) override {
        if (message == kThrow || (message == WM_CLOSE && closeFails)) {
            ++thrown;
            throw std::runtime_error("handler failed");
        }
        if (message == kAnswer) {
            result = kAnswerValue;
            return true;
        }
        return false;
    }
};

class ThrowingDialog : public CDialog {
public:
    ThrowingDialog() : CDialog(IDD_FRAMEWORK_TEST) {}
    std::atomic<int> thrown{0};
    std::atomic<bool> closeFails{false};

protected:
    bool OnMessage(UINT message, WPARAM, LPARAM, INT_PTR&) override {
        if (message == WM_CLOSE && closeFails) {
            ++thrown;
            throw std::runtime_error("closing failed");
        }
        return false;
    }
    bool OnCommand(WORD id, WORD) override {
        if (id == IDC_FRAMEWORK_THROW) {
            ++thrown;
            throw std::runtime_error("handler failed");
        }
        return false;
    }
};

HWND WaitForTestDialog() {
    robot::WindowQuery query;
    query.processId = GetCurrentProcessId();
    query.title = "Framework test";
    return robot::WaitForWindow(query);
}

} // namespace

TEST(FrameworkWindows, AnExceptionInAFrameHandlerEndsAtTheWindowProcedure) {
    ThrowingFrame frame;
    ASSERT_TRUE(frame.LoadFrame(kNoResources));
    HWND window = frame.GetSafeHwnd();
    ASSERT_NE(window, nullptr);

    EXPECT_EQ(SendMessageA(window, kThrow, 0, 0), 0);
    EXPECT_EQ(frame.thrown, 1);
    // The window is still there and still answers.
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(SendMessageA(window, kAnswer, 0, 0), kAnswerValue);

    // A posted message fails the same way inside the thread's own message dispatch.
    ASSERT_TRUE(PostMessageA(window, kThrow, 0, 0));
    MSG message;
    while (PeekMessageA(&message, window, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&message);
    }
    EXPECT_EQ(frame.thrown, 2);
    EXPECT_EQ(SendMessageA(window, kAnswer, 0, 0), kAnswerValue);
}

TEST(FrameworkWindows, AnExceptionInADialogHandlerEndsAtTheDialogProcedure) {
    ThrowingDialog dialog;
    INT_PTR result = 0;
    RunWithRobot([&] { result = dialog.DoModal(); },
                 [&] {
                     HWND window = WaitForTestDialog();
                     ASSERT_NE(window, nullptr);
                     robot::Click(window, IDC_FRAMEWORK_THROW);
                     robot::Click(window, IDC_FRAMEWORK_THROW);
                     // Still open, still answering: OK ends it as usual.
                     EXPECT_TRUE(IsWindowVisible(window));
                     robot::Click(window, IDOK);
                     EXPECT_TRUE(robot::WaitForWindowGone(window));
                 });
    EXPECT_EQ(dialog.thrown, 2);
    EXPECT_EQ(result, IDOK);
}

// A failed handler counts as handled in frames and dialogs alike: the platform's default
// action does not follow it, so a window whose closing handler failed is not closed.
TEST(FrameworkWindows, AFailedCloseHandlerLeavesTheFrameOpen) {
    ThrowingFrame frame;
    ASSERT_TRUE(frame.LoadFrame(kNoResources));
    HWND window = frame.GetSafeHwnd();
    frame.closeFails = true;
    EXPECT_EQ(SendMessageA(window, WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(frame.thrown, 1);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(SendMessageA(window, kAnswer, 0, 0), kAnswerValue);
    frame.closeFails = false;
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
}

TEST(FrameworkWindows, AFailedCloseHandlerLeavesTheDialogOpen) {
    ThrowingDialog dialog;
    dialog.closeFails = true;
    INT_PTR result = 0;
    RunWithRobot([&] { result = dialog.DoModal(); },
                 [&] {
                     HWND window = WaitForTestDialog();
                     ASSERT_NE(window, nullptr);
                     // Without the rule the dialog manager would post Cancel for the close.
                     EXPECT_EQ(SendMessageA(window, WM_CLOSE, 0, 0), 0);
                     EXPECT_TRUE(robot::HoldsFor([&] { return IsWindowVisible(window); }, 500));
                     robot::Click(window, IDOK);
                     EXPECT_TRUE(robot::WaitForWindowGone(window));
                 });
    EXPECT_EQ(dialog.thrown, 1);
    EXPECT_EQ(result, IDOK);
}

TEST(FrameworkWindows, ADialogPaintsInTheColoursItIsGivenOrInTheSystems) {
    fw::UniqueBrush brush(CreateSolidBrush(RGB(192, 192, 192)));
    const DialogColors colors{RGB(192, 192, 192), RGB(0, 0, 128), brush.Get()};
    fw::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);

    // Without colours the dialog manager paints in the system's dialog colour.
    CDialog plain(IDD_FRAMEWORK_TEST);
    ASSERT_TRUE(plain.Create());
    SetBkColor(dc.Get(), RGB(1, 2, 3));
    const LRESULT plainReply =
        SendMessageA(plain.GetSafeHwnd(), WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc.Get()),
                     reinterpret_cast<LPARAM>(plain.GetSafeHwnd()));
    EXPECT_NE(reinterpret_cast<HBRUSH>(plainReply), brush.Get());
    EXPECT_EQ(GetBkColor(dc.Get()), GetSysColor(COLOR_BTNFACE));

    CDialog coloured(IDD_FRAMEWORK_TEST);
    coloured.SetColors(&colors);
    ASSERT_TRUE(coloured.Create());
    for (UINT message : {WM_CTLCOLORDLG, WM_CTLCOLORSTATIC, WM_CTLCOLORBTN}) {
        SetBkColor(dc.Get(), RGB(1, 2, 3));
        SetTextColor(dc.Get(), RGB(1, 2, 3));
        const LRESULT reply =
            SendMessageA(coloured.GetSafeHwnd(), message, reinterpret_cast<WPARAM>(dc.Get()),
                         reinterpret_cast<LPARAM>(coloured.GetSafeHwnd()));
        EXPECT_EQ(reinterpret_cast<HBRUSH>(reply), brush.Get()) << message;
        EXPECT_EQ(GetBkColor(dc.Get()), RGB(192, 192, 192)) << message;
        EXPECT_EQ(GetTextColor(dc.Get()), RGB(0, 0, 128)) << message;
    }
}
