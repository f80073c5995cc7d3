#include "path_prompt_dialog.h"

#include "capture_gesture.h"
#include "resource.h"

PathPromptDialog::PathPromptDialog() : CDialog(IDD_PATH_PROMPT) {}

BOOL PathPromptDialog::OnInitDialog() {
    SetItemText(IDC_PROMPT_TEXT, prompt);
    SetItemText(IDC_PROMPT_EDIT, text);
    return TRUE;
}

void PathPromptDialog::OnOK() {
    text = GetItemText(IDC_PROMPT_EDIT);
    CDialog::OnOK();
}

bool PathPromptDialog::OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR& result) {
    if (message == WM_PAINT) {
        GetWindowRect(m_hWnd, &lastRect);
        return false;
    }
    if (korva::HandleCaptureGesture(m_hWnd, message, wParam)) {
        result = TRUE;
        return true;
    }
    return false;
}
