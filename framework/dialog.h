// Modal and modeless dialogs from templates of the program's resources.
//
// One dialog procedure serves every dialog: it attaches the object to its window at
// WM_INITDIALOG and forwards the messages to the virtual handlers below. An exception that
// leaves a handler ends there: it never unwinds through the platform's dialog manager.
#pragma once

#include "framework/wnd.h"

// The background and text colours a program chose for its dialogs, with the brush that paints
// the background; owned by whoever chose them, for as long as the dialogs live.
struct DialogColors {
    COLORREF background = 0;
    COLORREF text = 0;
    HBRUSH brush = nullptr;
};

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, HWND parent = nullptr)
        : templateId_(templateId), parent_(parent) {}
    ~CDialog() override;

    // Runs the dialog modally; returns the value given to EndDialog, or -1 when the
    // template cannot be loaded.
    INT_PTR DoModal();
    // Creates the dialog modeless; false when the template cannot be loaded.
    bool Create(HWND parent = nullptr);
    void DestroyWindow();

    void EndDialog(INT_PTR result);
    // Paints the dialog and its static texts and buttons in these colours; the system's
    // colours when none (the default).
    void SetColors(const DialogColors* colors) { colors_ = colors; }

protected:
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // A command other than IDOK/IDCANCEL; true when handled.
    virtual bool OnCommand(WORD /*id*/, WORD /*notifyCode*/) { return false; }
    // Any other message; true when handled, with the dialog procedure's result in `result`.
    virtual bool OnMessage(UINT /*message*/, WPARAM, LPARAM, INT_PTR& /*result*/) { return false; }

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    INT_PTR ColorReply(WPARAM dc) const;

    UINT templateId_;
    HWND parent_;
    const DialogColors* colors_ = nullptr;
    bool modal_ = false;
};
