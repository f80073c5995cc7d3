// A window of the framework: the handle and the operations the programs use on it.
#pragma once

#include "framework/portable/object.h"

#include <windows.h>

#include <string>

class CWnd : public CObject {
public:
    HWND GetSafeHwnd() const { return hwnd_; }

    HWND GetDlgItem(int id) const { return ::GetDlgItem(hwnd_, id); }
    std::string GetItemText(int id) const;
    void SetItemText(int id, const std::string& text) const;
    void SetCaption(const std::string& text) const;

    // A message box owned by this window, with an explicit caption.
    int OwnedMessageBox(const std::string& text, const std::string& caption, UINT type) const;

    void Invalidate() const { ::InvalidateRect(hwnd_, nullptr, TRUE); }

    HWND hwnd_ = nullptr;

protected:
    // Windows of the framework's own classes (frames, views): every message of such a window
    // comes here; the default hands it to DefWindowProc. An exception that leaves it ends
    // there: it never unwinds through the platform's message dispatch.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
        return Default(message, wParam, lParam);
    }
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) const {
        return ::DefWindowProcA(hwnd_, message, wParam, lParam);
    }
    // Registers a window class served by WindowProc (once per process and name).
    static bool RegisterFrameworkClass(const char* className, UINT style, HBRUSH background);
    // Creates a window of such a class attached to this object; false on failure.
    bool CreateFrameworkWindow(const char* className, const std::string& title, DWORD style, int x,
                               int y, int width, int height, HWND parent, HMENU menuOrId);

private:
    static LRESULT CALLBACK FrameworkWindowProc(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam);
};
