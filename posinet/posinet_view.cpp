#include "posinet_view.h"

#include "main_frame.h"

#include "app.h"

namespace {
// The caption is set at the first paint of the process only.
bool firstPaint = true;
} // namespace

void CPosinetView::OnDraw(HDC) {
    CMainFrame* frame = MainFrame();
    if (!firstPaint || !frame) {
        return;
    }
    firstPaint = false;
    HWND mainWindow = AppGetApp() ? AppGetApp()->m_hMainWnd : nullptr;
    SetWindowTextA(mainWindow ? mainWindow : frame->GetSafeHwnd(), frame->serviceName);
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
