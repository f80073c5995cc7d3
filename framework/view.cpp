#include "framework/view.h"

#include "framework/frame.h"
#include "framework/framework_ids.h"
#include "framework/handles.h"

namespace {
constexpr const char* kViewClass = "KorvaView";
}

CView::~CView() {
    if (hwnd_) {
        ::DestroyWindow(hwnd_);
    }
}

bool CView::Create(CFrameWnd& frame) {
    if (!RegisterFrameworkClass(kViewClass, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW,
                                reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1))) {
        return false;
    }
    RECT client{};
    GetClientRect(frame.GetSafeHwnd(), &client);
    if (!CreateFrameworkWindow(kViewClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0,
                               client.right, client.bottom, frame.GetSafeHwnd(),
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(IDW_PANE_FIRST)))) {
        return false;
    }
    frame_ = &frame;
    frame.SetActiveView(this);
    return true;
}

LRESULT CView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (OnMessage(message, wParam, lParam, result)) {
        return result;
    }
    switch (message) {
    case WM_PAINT: {
        fw::PaintDc dc(hwnd_);
        OnDraw(dc.Get());
        return 0;
    }
    case WM_KEYDOWN:
        OnKeyDown(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return Default(message, wParam, lParam);
    case WM_MOUSEACTIVATE:
        // A click into the view gives it the keyboard.
        SetFocus(hwnd_);
        return MA_ACTIVATE;
    default:
        return Default(message, wParam, lParam);
    }
}
