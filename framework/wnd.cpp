#include "wnd.h"

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
    SetDlgItemTextA(m_hWnd, id, text.c_str());
}

void CWnd::SetCaption(const std::string& text) const {
    SetWindowTextA(m_hWnd, text.c_str());
}

int CWnd::OwnedMessageBox(const std::string& text, const std::string& caption, UINT type) const {
    return ::MessageBoxA(m_hWnd, text.c_str(), caption.c_str(), type);
}
