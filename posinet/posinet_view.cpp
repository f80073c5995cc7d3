#include "posinet/posinet_view.h"

#include "posinet/main_frame.h"

namespace {
// The caption is set at the first paint of the process only, not at each view's: a flag of
// the process.
bool firstPaint = true;
} // namespace

CMainFrame* CPosinetView::MainFrame() const {
    return dynamic_cast<CMainFrame*>(GetParentFrame());
}

void CPosinetView::OnDraw(HDC) {
    CMainFrame* frame = MainFrame();
    if (!firstPaint || !frame) {
        return;
    }
    firstPaint = false;
    // The frame is the program's main window.
    SetWindowTextA(frame->GetSafeHwnd(), frame->ServiceName());
}

void CPosinetView::OnKeyDown(UINT key, UINT, UINT) {
    CMainFrame* frame = MainFrame();
    if (!frame) {
        return;
    }
    switch (key) {
    case VK_LEFT:
        frame->NudgeElement0(korva::ArrowKey::left);
        break;
    case VK_RIGHT:
        frame->NudgeElement0(korva::ArrowKey::right);
        break;
    case VK_UP:
        frame->NudgeElement0(korva::ArrowKey::up);
        break;
    case VK_DOWN:
        frame->NudgeElement0(korva::ArrowKey::down);
        break;
    default:
        break;
    }
}
