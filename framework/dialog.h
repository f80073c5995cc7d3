// Modal and modeless dialogs from templates of the program's resources.
//
// One dialog procedure serves every dialog: it attaches the object to its window at
// WM_INITDIALOG and forwards the messages to the virtual handlers below.
#pragma once

#include "wnd.h"

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
    bool IsModal() const { return modal_; }
    UINT TemplateId() const { return templateId_; }

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

    UINT templateId_;
    HWND parent_;
    bool modal_ = false;
};
