// A frame: the program's main window with its menu, holding the active view in its client area.
#pragma once

#include "framework/wnd.h"

#include <string>

class CView;
class CWinApp;
struct DialogColors;

class CFrameWnd : public CWnd {
public:
    ~CFrameWnd() override;

    // Creates the overlapped frame window with menu `resourceId`; its title is the first line
    // of string `resourceId`. The window stays hidden until shown.
    bool LoadFrame(UINT resourceId, DWORD style = WS_OVERLAPPEDWINDOW);

    void SetActiveView(CView* view) { view_ = view; }

    // The caption "<document> - <title>", the title being the frame's from its resources.
    void UpdateCaption(const std::string& documentTitle);

    // The application whose main window this frame is: the commands no window handled go to
    // it, and the end of the window ends its message loop. None until it says so.
    void SetApplication(CWinApp* app) { app_ = app; }
    // The colours the application chose for its dialogs; none when it chose none.
    const DialogColors* GetDialogColors() const;

protected:
    // WM_CREATE; -1 refuses the creation.
    virtual int OnCreate() { return 0; }
    // WM_DESTROY, before default processing.
    virtual void OnDestroy() {}
    // A menu command; true when handled. Unhandled commands go to the view, then to the
    // application.
    virtual bool OnCommand(WORD /*id*/) { return false; }
    // Any other message; true when handled, with the window procedure's result in `result`.
    virtual bool OnMessage(UINT /*message*/, WPARAM, LPARAM, LRESULT& /*result*/) { return false; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void RouteCommand(WORD id);

    CView* view_ = nullptr;
    CWinApp* app_ = nullptr;
    std::string title_;
};
