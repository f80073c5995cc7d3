#include "install/engine/path_prompt_dialog.h"

#include "install/engine/screen_capture_dialog.h"
#include "resources/install/resource.h"

PathPromptDialog::PathPromptDialog() : CDialog(IDD_PATH_PROMPT) {}

BOOL PathPromptDialog::OnInitDialog() {
    SetItemText(IDC_PROMPT_TEXT, prompt_);
    SetItemText(IDC_PROMPT_EDIT, text_);
    return TRUE;
}

void PathPromptDialog::OnOK() {
    text_ = GetItemText(IDC_PROMPT_EDIT);
    CDialog::OnOK();
}

bool PathPromptDialog::OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR&) {
    if (message == WM_PAINT) {
        GetWindowRect(hwnd_, &lastRect_);
        return false;
    }
    // Ctrl + double click saves the screen; the click still goes on to the dialog.
    HandleScreenCaptureTrigger(hwnd_, message, wParam);
    return false;
}
