#include "install/launcher/welcome_dialog.h"

#include "framework/handles.h"
#include "resources/install/resource.h"

CWelcomeDlg::CWelcomeDlg() : CDialog(IDD_WELCOME) {}

BOOL CWelcomeDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CheckDlgButton(hwnd_, IDC_LANG_ITALIANO, BST_CHECKED);
    return TRUE;
}

bool CWelcomeDlg::OnCommand(WORD id, WORD) {
    if (id == IDC_LANG_ITALIANO) {
        language = 1;
        return true;
    }
    if (id == IDC_LANG_ENGLISH) {
        language = 2;
        return true;
    }
    return false;
}

bool CWelcomeDlg::OnMessage(UINT message, WPARAM, LPARAM, INT_PTR& result) {
    if (message != WM_PAINT) {
        return false;
    }
    fw::PaintDc validate(hwnd_);
    result = TRUE;
    return true;
}
