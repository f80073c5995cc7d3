// A single-document template: the resources of the program's main window, and the document,
// frame and view it creates and owns together.
#pragma once

#include "framework/document.h"
#include "framework/frame.h"
#include "framework/view.h"

#include <functional>
#include <memory>

class CSingleDocTemplate : public CObject {
public:
    using DocumentFactory = std::function<std::unique_ptr<CDocument>()>;
    using FrameFactory = std::function<std::unique_ptr<CFrameWnd>()>;
    using ViewFactory = std::function<std::unique_ptr<CView>()>;

    CSingleDocTemplate(UINT resourceId, DocumentFactory document, FrameFactory frame,
                       ViewFactory view);
    // The view goes first, then the frame, then the document.
    ~CSingleDocTemplate() override;

    template <typename Document, typename Frame, typename View>
    static std::unique_ptr<CSingleDocTemplate> Make(UINT resourceId) {
        return std::make_unique<CSingleDocTemplate>(
            resourceId, [] { return std::make_unique<Document>(); },
            [] { return std::make_unique<Frame>(); }, [] { return std::make_unique<View>(); });
    }

    // A new, empty document with its frame and view, the frame still hidden. Null when any
    // part cannot be made.
    CDocument* OpenNewDocument();
    // Shows the frame with `showCommand` and gives the view the keyboard.
    void ShowFrame(int showCommand);

    CFrameWnd* Frame() const { return frame_.get(); }

private:
    void Close();

    UINT resourceId_;
    DocumentFactory makeDocument_;
    FrameFactory makeFrame_;
    ViewFactory makeView_;
    std::unique_ptr<CDocument> document_;
    std::unique_ptr<CFrameWnd> frame_;
    std::unique_ptr<CView> view_;
};
