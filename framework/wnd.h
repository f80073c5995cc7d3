// A window of the framework: the handle and the operations the programs use on it.
#pragma once

#include "object.h"

#include <windows.h>

#include <string>

class CWnd : public CObject {
public:
    HWND GetSafeHwnd() const { return m_hWnd; }

    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    std::string GetItemText(int id) const;
    void SetItemText(int id, const std::string& text) const;
    void SetCaption(const std::string& text) const;

    // A message box owned by this window, with an explicit caption.
    int OwnedMessageBox(const std::string& text, const std::string& caption, UINT type) const;

    void Invalidate() const { ::InvalidateRect(m_hWnd, nullptr, TRUE); }
    void UpdateWindow() const { ::UpdateWindow(m_hWnd); }

    HWND m_hWnd = nullptr;
};
