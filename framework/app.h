// The application object: start-up, the message loop when there is a main window, and the
// application message boxes whose caption is the application title.
#pragma once

#include "framework/dialog.h"
#include "framework/handles.h"
#include "framework/wnd.h"

#include <memory>
#include <string>
#include <vector>

class CFrameWnd;
class CSingleDocTemplate;

// String-table number of the application title.
constexpr UINT kAppTitleStringId = 57344;

class CWinApp : public CObject {
public:
    CWinApp();
    ~CWinApp() override;

    // Start-up work of the program; FALSE ends it at once.
    virtual BOOL InitInstance() { return TRUE; }

    // Called from WinMain: sets up the application and runs it to the end.
    int Run(HINSTANCE instance, const char* commandLine, int showCommand);

    HINSTANCE instance_ = nullptr;
    // The text after the program name, as the platform hands it over.
    const char* commandLine_ = "";
    int showCommand_ = SW_SHOWNORMAL;
    // Main window: when set after InitInstance, the message loop runs until it closes.
    HWND mainWindow_ = nullptr;
    // Application title (string 57344); the caption of application message boxes.
    std::string title_;

    // Document/view programs: the template of the main window, and its first document,
    // whose frame becomes the main window.
    void AddDocTemplate(std::unique_ptr<CSingleDocTemplate> docTemplate);
    void OnFileNew();
    // Makes the frame the main window: the message loop runs until it is destroyed.
    void SetMainFrame(CFrameWnd& frame);
    // Called by a frame of this application when its window is gone.
    void OnMainWindowDestroyed(HWND window);

    // Menu commands no window handled; true when handled. The default ends the program on
    // the exit command.
    virtual bool OnCommand(WORD id);

    // Background and text colour of the program's dialogs, handed to each dialog with
    // CDialog::SetColors; the system's when never set.
    void SetDialogBkColor(COLORREF background = RGB(192, 192, 192), COLORREF text = RGB(0, 0, 0));
    // The colours set, for as long as the application lives; none when never set.
    const DialogColors* GetDialogColors() const { return dialogBrush_ ? &dialogColors_ : nullptr; }

    // Reads the recent-file list (up to `maxRecentFiles` entries) from the program's profile,
    // "<program name>.INI" in the Windows directory.
    void LoadStdProfileSettings(unsigned maxRecentFiles = 4);
    std::string profileName_;
    std::vector<std::string> recentFiles_;

private:
    std::vector<std::unique_ptr<CSingleDocTemplate>> templates_;
    fw::UniqueBrush dialogBrush_;
    DialogColors dialogColors_;
};

// The one application object of the process.
CWinApp* AppGetApp();

// Application message boxes: owned by the active window, captioned with the application title.
int AppMessageBox(const std::string& text, UINT type = MB_OK);
int AppMessageBox(UINT stringId, UINT type = MB_OK);

// WinMain body shared by the programs.
int AppWinMain(HINSTANCE instance, LPSTR commandLine, int showCommand);
