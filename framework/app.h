// The application object: start-up, the message loop when there is a main window, and the
// application message boxes whose caption is the application title.
#pragma once

#include "wnd.h"

#include <string>

// String-table number of the application title.
constexpr UINT kAppTitleStringId = 57344;

class CWinApp : public CObject {
public:
    CWinApp();
    ~CWinApp() override;

    // Start-up work of the program; FALSE ends it at once.
    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return 0; }

    // Called from WinMain: sets up the application and runs it to the end.
    int Run(HINSTANCE instance, const char* commandLine, int showCommand);

    HINSTANCE m_hInstance = nullptr;
    // The text after the program name, as the platform hands it over.
    const char* m_lpCmdLine = "";
    int m_nCmdShow = SW_SHOWNORMAL;
    // Main window: when set after InitInstance, the message loop runs until it closes.
    HWND m_hMainWnd = nullptr;
    // Application title (string 57344); the caption of application message boxes.
    std::string m_title;
};

// The one application object of the process.
CWinApp* AppGetApp();

// Application message boxes: owned by the active window, captioned with the application title.
int AppMessageBox(const std::string& text, UINT type = MB_OK);
int AppMessageBox(UINT stringId, UINT type = MB_OK);

// WinMain body shared by the programs.
int AppWinMain(HINSTANCE instance, LPSTR commandLine, int showCommand);
