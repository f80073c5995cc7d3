// A stand-in for the installer's dialogs that offer the screen capture: one dialog that
// passes its messages to the capture trigger, run as a program of its own by the tests.
#include "framework/app.h"
#include "framework/dialog.h"
#include "install/engine/screen_capture_dialog.h"

#include "capture_host.h"

namespace {

class CCaptureTestDlg : public CDialog {
public:
    CCaptureTestDlg() : CDialog(IDD_CAPTURE_TEST) {}

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR&) override {
        HandleScreenCaptureTrigger(hwnd_, message, wParam);
        return false;
    }
};

class CCaptureTestApp : public CWinApp {
public:
    BOOL InitInstance() override {
        CCaptureTestDlg dialog;
        dialog.DoModal();
        return FALSE;
    }
};

CCaptureTestApp theApp;

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
    return AppWinMain(instance, commandLine, showCommand);
}
