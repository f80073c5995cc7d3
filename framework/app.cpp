#include "framework/app.h"

#include "framework/doc_template.h"
#include "framework/framework_ids.h"
#include "framework/profile.h"
#include "framework/resource_strings.h"

namespace {
// The one application object, for WinMain and the application message boxes.
CWinApp* theApp = nullptr;
} // namespace

CWinApp::CWinApp() {
    theApp = this;
}

CWinApp::~CWinApp() {
    templates_.clear();
    if (theApp == this) {
        theApp = nullptr;
    }
}

CWinApp* AppGetApp() {
    return theApp;
}

int CWinApp::Run(HINSTANCE instance, const char* commandLine, int showCommand) {
    instance_ = instance;
    commandLine_ = commandLine ? commandLine : "";
    showCommand_ = showCommand;
    title_ = fw::LoadResourceString(kAppTitleStringId);
    if (!InitInstance()) {
        return 0;
    }
    // Without a main window there is nothing to wait for: the program ends here.
    if (mainWindow_) {
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    // The main window is gone: its view, frame and document follow.
    templates_.clear();
    return 0;
}

void CWinApp::AddDocTemplate(std::unique_ptr<CSingleDocTemplate> docTemplate) {
    if (docTemplate) {
        templates_.push_back(std::move(docTemplate));
    }
}

void CWinApp::OnFileNew() {
    if (templates_.empty()) {
        return;
    }
    CSingleDocTemplate& docTemplate = *templates_.front();
    if (docTemplate.OpenNewDocument()) {
        SetMainFrame(*docTemplate.Frame());
        docTemplate.ShowFrame(showCommand_);
    }
}

void CWinApp::SetMainFrame(CFrameWnd& frame) {
    mainWindow_ = frame.GetSafeHwnd();
    frame.SetApplication(this);
}

void CWinApp::OnMainWindowDestroyed(HWND window) {
    // The end of the main window is the end of the program's message loop.
    if (window && window == mainWindow_) {
        mainWindow_ = nullptr;
        PostQuitMessage(0);
    }
}

bool CWinApp::OnCommand(WORD id) {
    if (id == ID_APP_EXIT) {
        if (mainWindow_) {
            PostMessageA(mainWindow_, WM_CLOSE, 0, 0);
        }
        return true;
    }
    return false;
}

void CWinApp::SetDialogBkColor(COLORREF background, COLORREF text) {
    dialogBrush_.Reset(CreateSolidBrush(background));
    dialogColors_ = {background, text, dialogBrush_.Get()};
}

void CWinApp::LoadStdProfileSettings(unsigned maxRecentFiles) {
    char path[MAX_PATH + 1] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name(path, length < MAX_PATH ? length : 0);
    name = name.substr(name.find_last_of("\\/:") + 1);
    name = name.substr(0, name.rfind('.'));
    // A name without a directory: the profile service looks in the Windows directory.
    profileName_ = name + ".INI";
    recentFiles_.clear();
    for (unsigned i = 1; i <= maxRecentFiles; ++i) {
        const std::string key = "File" + std::to_string(i);
        std::string file =
            fw::ReadProfileString(profileName_, "Recent File List", key.c_str(), "", MAX_PATH);
        if (!file.empty()) {
            recentFiles_.push_back(std::move(file));
        }
    }
}

int AppMessageBox(const std::string& text, UINT type) {
    std::string caption = theApp ? theApp->title_ : std::string();
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
