// A frame: the program's main window with its menu, holding the active view in its client area.
#pragma once

#include "wnd.h"

#include <string>

class CView;

class CFrameWnd : public CWnd {
public:
    ~CFrameWnd() override;

    // Creates the overlapped frame window with menu `resourceId`; its title is the first line
    // of string `resourceId`. The window stays hidden until shown.
    bool LoadFrame(UINT resourceId, DWORD style = WS_OVERLAPPEDWINDOW);

    void SetActiveView(CView* view) { view_ = view; }
    CView* GetActiveView() const { return view_; }

    // The frame's title from its resources, and the caption "<document> - <title>".
    const std::string& GetTitle() const { return title_; }
    void UpdateCaption(const std::string& documentTitle);

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
    std::string title_;
};
