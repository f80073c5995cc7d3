// posinet's document and view: an empty document, and a view that paints nothing, names the
// main window at its first paint and moves element 0 with the arrow keys.
#pragma once

#include "framework/document.h"
#include "framework/view.h"

class CPosinetDoc : public CDocument {
public:
    BOOL OnNewDocument() override { return CDocument::OnNewDocument(); }
};

class CMainFrame;

class CPosinetView : public CView {
protected:
    void OnDraw(HDC dc) override;
    void OnKeyDown(UINT key, UINT repeatCount, UINT flags) override;

private:
    // The frame whose pane this view is; none before the view is created.
    CMainFrame* MainFrame() const;
};
