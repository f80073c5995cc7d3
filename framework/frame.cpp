#include "framework/frame.h"

#include "framework/app.h"
#include "framework/resource_strings.h"
#include "framework/view.h"

namespace {
constexpr const char* kFrameClass = "KorvaFrame";
}

CFrameWnd::~CFrameWnd() {
    if (hwnd_) {
        ::DestroyWindow(hwnd_);
    }
}

bool CFrameWnd::LoadFrame(UINT resourceId, DWORD style) {
    if (!RegisterFrameworkClass(kFrameClass, CS_DBLCLKS,
                                reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1))) {
        return false;
    }
    const std::string text = fw::LoadResourceString(resourceId);
    title_ = text.substr(0, text.find('\n'));
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId));
    if (!CreateFrameworkWindow(kFrameClass, title_, style, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, nullptr, menu)) {
        // A menu not attached to a window is not destroyed with it.
        if (menu) {
            DestroyMenu(menu);
        }
        return false;
    }
    return true;
}

void CFrameWnd::UpdateCaption(const std::string& documentTitle) {
    SetCaption(documentTitle.empty() ? title_ : documentTitle + " - " + title_);
}

const DialogColors* CFrameWnd::GetDialogColors() const {
    return app_ ? app_->GetDialogColors() : nullptr;
}

void CFrameWnd::RouteCommand(WORD id) {
    if (OnCommand(id)) {
        return;
    }
    if (view_ && view_->OnCommand(id)) {
        return;
    }
    if (app_) {
        app_->OnCommand(id);
    }
}

LRESULT CFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (OnMessage(message, wParam, lParam, result)) {
        return result;
    }
    switch (message) {
    case WM_CREATE:
        return OnCreate();
    case WM_SIZE:
        if (view_ && view_->GetSafeHwnd()) {
            MoveWindow(view_->GetSafeHwnd(), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        }
        return 0;
    case WM_SETFOCUS:
        // The keyboard belongs to the view.
        if (view_ && view_->GetSafeHwnd()) {
            SetFocus(view_->GetSafeHwnd());
            return 0;
        }
        return Default(message, wParam, lParam);
    case WM_COMMAND:
        // Menu items and accelerators; notifications of child controls are not commands.
        if (lParam == 0) {
            RouteCommand(LOWORD(wParam));
            return 0;
        }
        return Default(message, wParam, lParam);
    case WM_DESTROY:
        OnDestroy();
        return Default(message, wParam, lParam);
    case WM_NCDESTROY: {
        LRESULT done = Default(message, wParam, lParam);
        if (app_) {
            app_->OnMainWindowDestroyed(hwnd_);
        }
        return done;
    }
    default:
        return Default(message, wParam, lParam);
    }
}
