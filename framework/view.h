// A view: the child window that fills its frame's client area and shows its document.
#pragma once

#include "framework/wnd.h"

class CFrameWnd;

class CView : public CWnd {
public:
    ~CView() override;

    // Creates the view as the frame's pane.
    bool Create(CFrameWnd& frame);
    // The frame whose pane this view is; none before Create.
    CFrameWnd* GetParentFrame() const { return frame_; }

    // Menu commands reach the view after the frame; true when handled.
    virtual bool OnCommand(WORD /*id*/) { return false; }

protected:
    // Paints the view; called from WM_PAINT between BeginPaint and EndPaint.
    virtual void OnDraw(HDC /*dc*/) {}
    // WM_KEYDOWN; default processing follows.
    virtual void OnKeyDown(UINT /*key*/, UINT /*repeatCount*/, UINT /*flags*/) {}
    // Any other message; true when handled, with the window procedure's result in `result`.
    virtual bool OnMessage(UINT /*message*/, WPARAM, LPARAM, LRESULT& /*result*/) { return false; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CFrameWnd* frame_ = nullptr;
};
