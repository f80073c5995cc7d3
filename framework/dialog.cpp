#include "framework/dialog.h"

CDialog::~CDialog() {
    DestroyWindow();
}

INT_PTR CDialog::DoModal() {
    modal_ = true;
    INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_),
                                     parent_, DialogProc, reinterpret_cast<LPARAM>(this));
    modal_ = false;
    return result;
}

bool CDialog::Create(HWND parent) {
    if (hwnd_) {
        return true;
    }
    modal_ = false;
    HWND window =
        CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_),
                           parent ? parent : parent_, DialogProc, reinterpret_cast<LPARAM>(this));
    return window != nullptr;
}

void CDialog::DestroyWindow() {
    if (hwnd_ && !modal_) {
        ::DestroyWindow(hwnd_);
    }
}

void CDialog::EndDialog(INT_PTR result) {
    if (hwnd_) {
        ::EndDialog(hwnd_, result);
    }
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lParam);
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        self->hwnd_ = window;
    } else {
        self = reinterpret_cast<CDialog*>(GetWindowLongPtrA(window, DWLP_USER));
    }
    if (!self) {
        return FALSE;
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, DWLP_USER, 0);
        self->hwnd_ = nullptr;
        return FALSE;
    }
    try {
        return self->Dispatch(message, wParam, lParam);
    } catch (...) {
        // The same rule as the window procedure's (CWnd::FrameworkWindowProc): handled, with
        // nothing more done. The dialog goes on.
        SetWindowLongPtrA(window, DWLP_MSGRESULT, 0);
        return TRUE;
    }
}

INT_PTR CDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    INT_PTR result = FALSE;
    if (OnMessage(message, wParam, lParam, result)) {
        return result;
    }
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return ColorReply(wParam);
    case WM_COMMAND: {
        WORD id = LOWORD(wParam);
        WORD code = HIWORD(wParam);
        if (id == IDOK && code == BN_CLICKED) {
            OnOK();
            return TRUE;
        }
        if (id == IDCANCEL && code == BN_CLICKED) {
            OnCancel();
            return TRUE;
        }
        return OnCommand(id, code) ? TRUE : FALSE;
    }
    default:
        return FALSE;
    }
}

INT_PTR CDialog::ColorReply(WPARAM dc) const {
    if (!colors_ || !colors_->brush) {
        return FALSE;
    }
    HDC context = reinterpret_cast<HDC>(dc);
    SetTextColor(context, colors_->text);
    SetBkColor(context, colors_->background);
    return reinterpret_cast<INT_PTR>(colors_->brush);
}
