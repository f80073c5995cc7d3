#include "app.h"

#include "resource_strings.h"

namespace {
CWinApp* theApp = nullptr;
}

CWinApp::CWinApp() {
    theApp = this;
}

CWinApp::~CWinApp() {
    if (theApp == this) {
        theApp = nullptr;
    }
}

CWinApp* AppGetApp() {
    return theApp;
}

int CWinApp::Run(HINSTANCE instance, const char* commandLine, int showCommand) {
    m_hInstance = instance;
    m_lpCmdLine = commandLine ? commandLine : "";
    m_nCmdShow = showCommand;
    m_title = fw::LoadResourceString(kAppTitleStringId);
    if (!InitInstance()) {
        return ExitInstance();
    }
    // Without a main window there is nothing to wait for: the program ends here.
    if (m_hMainWnd) {
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return ExitInstance();
}

int AppMessageBox(const std::string& text, UINT type) {
    std::string caption = theApp ? theApp->m_title : std::string();
    HWND owner = GetActiveWindow();
    return MessageBoxA(owner, text.c_str(), caption.c_str(), type);
}

int AppMessageBox(UINT stringId, UINT type) {
    return AppMessageBox(fw::LoadResourceString(stringId), type);
}

int AppWinMain(HINSTANCE instance, LPSTR commandLine, int showCommand) {
    CWinApp* app = AppGetApp();
    return app ? app->Run(instance, commandLine, showCommand) : 1;
}
