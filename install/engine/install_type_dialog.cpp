#include "install/engine/install_type_dialog.h"

#include "install/engine/screen_capture_dialog.h"
#include "resources/install/resource.h"

InstallTypeDialog::InstallTypeDialog() : CDialog(IDD_INSTALL_TYPE) {}

BOOL InstallTypeDialog::OnInitDialog() {
    type_ = 0;
    SetItemText(IDC_TYPE_MINIMAL_TEXT, minimalText_);
    SetItemText(IDC_TYPE_RECOMMENDED_TEXT, recommendedText_);
    SetItemText(IDC_TYPE_COMPLETE_TEXT, completeText_);
    return TRUE;
}

bool InstallTypeDialog::OnCommand(WORD id, WORD notifyCode) {
    if (notifyCode != BN_CLICKED) {
        return false;
    }
    switch (id) {
    case IDC_TYPE_MINIMAL:
        type_ = 1;
        break;
    case IDC_TYPE_RECOMMENDED:
        type_ = 2;
        break;
    case IDC_TYPE_COMPLETE:
        type_ = 3;
        break;
    default:
        return false;
    }
    EndDialog(IDOK);
    return true;
}

bool InstallTypeDialog::OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR&) {
    // Ctrl + double click saves the screen; the click still goes on to the dialog.
    HandleScreenCaptureTrigger(hwnd_, message, wParam);
    return false;
}
