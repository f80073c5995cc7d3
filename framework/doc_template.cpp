#include "framework/doc_template.h"

#include "framework/framework_ids.h"
#include "framework/resource_strings.h"

CSingleDocTemplate::CSingleDocTemplate(UINT resourceId, DocumentFactory document,
                                       FrameFactory frame, ViewFactory view)
    : resourceId_(resourceId), makeDocument_(std::move(document)), makeFrame_(std::move(frame)),
      makeView_(std::move(view)) {}

CSingleDocTemplate::~CSingleDocTemplate() {
    Close();
}

void CSingleDocTemplate::Close() {
    view_.reset();
    frame_.reset();
    document_.reset();
}

CDocument* CSingleDocTemplate::OpenNewDocument() {
    Close();
    document_ = makeDocument_();
    frame_ = makeFrame_();
    view_ = makeView_();
    if (!document_ || !frame_ || !view_ || !frame_->LoadFrame(resourceId_) ||
        !view_->Create(*frame_)) {
        Close();
        return nullptr;
    }
    if (!document_->OnNewDocument()) {
        Close();
        return nullptr;
    }
    document_->SetTitle(fw::LoadResourceString(IDS_FW_UNTITLED));
    frame_->UpdateCaption(document_->GetTitle());
    return document_.get();
}

void CSingleDocTemplate::ShowFrame(int showCommand) {
    if (!frame_ || !view_) {
        return;
    }
    ShowWindow(frame_->GetSafeHwnd(), showCommand);
    SetFocus(view_->GetSafeHwnd());
    UpdateWindow(frame_->GetSafeHwnd());
}
