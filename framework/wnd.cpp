#include "framework/wnd.h"

#include <vector>

std::string CWnd::GetItemText(int id) const {
    HWND item = GetDlgItem(id);
    int length = item ? GetWindowTextLengthA(item) : 0;
    if (length <= 0) {
        return {};
    }
    std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
    int copied = GetWindowTextA(item, text.data(), length + 1);
    return std::string(text.data(), static_cast<size_t>(copied > 0 ? copied : 0));
}

void CWnd::SetItemText(int id, const std::string& text) const {
    SetDlgItemTextA(hwnd_, id, text.c_str());
}

void CWnd::SetCaption(const std::string& text) const {
    SetWindowTextA(hwnd_, text.c_str());
}

int CWnd::OwnedMessageBox(const std::string& text, const std::string& caption, UINT type) const {
    return ::MessageBoxA(hwnd_, text.c_str(), caption.c_str(), type);
}

bool CWnd::RegisterFrameworkClass(const char* className, UINT style, HBRUSH background) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA existing;
    if (GetClassInfoA(instance, className, &existing)) {
        return true;
    }
    WNDCLASSA windowClass{};
    windowClass.style = style;
    windowClass.lpfnWndProc = FrameworkWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = className;
    return RegisterClassA(&windowClass) != 0;
}

bool CWnd::CreateFrameworkWindow(const char* className, const std::string& title, DWORD style,
                                 int x, int y, int width, int height, HWND parent, HMENU menuOrId) {
    if (hwnd_) {
        return false;
    }
    HWND window = CreateWindowExA(0, className, title.c_str(), style, x, y, width, height, parent,
                                  menuOrId, GetModuleHandleA(nullptr), this);
    return window != nullptr;
}

LRESULT CALLBACK CWnd::FrameworkWindowProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    CWnd* self = nullptr;
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        self = static_cast<CWnd*>(create->lpCreateParams);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->hwnd_ = window;
    } else {
        self = reinterpret_cast<CWnd*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    }
    if (!self) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    LRESULT result = 0;
    try {
        result = self->WindowProc(message, wParam, lParam);
    } catch (...) {
        // One rule for every window and dialog of the framework: a message whose handler
        // failed counts as handled, with result 0, and the platform's default action does not
        // follow. That action could act on the half-done state the handler left (close or
        // destroy a window whose closing handler failed halfway, say); nothing more done is the
        // safe side. The exception never unwinds through the platform's code.
        result = 0;
    }
    if (message == WM_NCDESTROY) {
        // The object may outlive its window; it no longer receives anything.
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}
