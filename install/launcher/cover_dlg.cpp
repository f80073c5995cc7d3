#include "cover_dlg.h"

#include "file_exception.h"
#include "launcher_logic.h"
#include "resource.h"
#include "resource_strings.h"
#include "welcome_dlg.h"

CCoverDlg::CCoverDlg() : CDialog(IDD_COVER) {
    char directory[korva::kPathSize] = {};
    UINT length = GetWindowsDirectoryA(directory, sizeof directory);
    if (length > 0 && length < sizeof directory) {
        korva::CopyToField(windowsDir, directory);
    }
}

CCoverDlg::~CCoverDlg() = default;

BOOL CCoverDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    fw::WindowDc screen(nullptr);
    int width = GetDeviceCaps(screen.Get(), HORZRES);
    int height = GetDeviceCaps(screen.Get(), VERTRES);
    MoveWindow(m_hWnd, 0, 0, width, height, TRUE);
    Invalidate();
    return TRUE;
}

bool CCoverDlg::OnMessage(UINT message, WPARAM, LPARAM, INT_PTR& result) {
    if (message != WM_PAINT) {
        return false;
    }
    OnPaint();
    result = TRUE;
    return true;
}

void CCoverDlg::OnPaint() {
    fw::PaintDc dc(m_hWnd);
    RECT client;
    GetClientRect(m_hWnd, &client);
    DrawCover(dc.Get(), client);
    if (sequenceStarted) {
        return;
    }
    try {
        RunCoverSequence();
    } catch (const CFileException&) {
        // A file error ends the sequence without a message; the cover stays until Esc.
    }
}

void CCoverDlg::DrawCover(HDC, const RECT&) {
    // The cover picture is not drawn yet: the window keeps its plain background.
}

void CCoverDlg::RunCoverSequence() {
    // Set first: repaints caused by the dialogs below must not start the sequence again.
    sequenceStarted = 1;

    korva::CoverOutcome outcome;
    outcome.removeMode = removeMode != 0;
    {
        CWelcomeDlg welcome;
        if (welcome.DoModal() == IDOK) {
            outcome.welcomeAccepted = true;
            language = welcome.language;
            outcome.result = removeMode ? RemoveInstallation() : RunInstallation();
        }
    }
    outcome.doneMessageMode = doneMessageMode;
    outcome.incompatibleWindows = incompatibleWindows;

    if (unsigned messageId = korva::FinalMessageId(outcome)) {
        OwnedMessageBox(fw::LoadResourceString(messageId),
                        fw::LoadResourceString(IDS_COVER_CAPTION), MB_OK);
    }
    EndDialog(IDOK);
}
