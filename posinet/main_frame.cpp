#include "posinet/main_frame.h"

#include "resources/posinet/resource.h"

#include <ctime>

CMainFrame::CMainFrame() {
    korva::SetBuiltInPositions(elements_);
    korva::HeadingGenerator headings(static_cast<uint32_t>(std::time(nullptr)));
    korva::AssignHeadings(elements_, headings);
    service_.StartService();
}

CMainFrame::~CMainFrame() {
    service_.StopService();
}

int CMainFrame::OnCreate() {
    cycle_.AttachWindow(hwnd_);
    return 0;
}

void CMainFrame::OnDestroy() {
    cycle_.Stop();
}

bool CMainFrame::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message != WM_TIMER) {
        return false;
    }
    // Every timer message is a tick, whatever its identifier: the extra tick of an advise
    // start comes with identifier 0. This frame is the program's main window.
    commands_.RecordSender(hwnd_);
    result = 0;
    cycle_.Run([&] {
        Tick();
        result = Default(message, wParam, lParam);
    });
    return true;
}

void CMainFrame::Tick() {
    if (!service_.IsServing()) {
        return;
    }
    korva::MoveElements(elements_, elementCount_, [this](int i) { service_.PostAdvise(i); });
}

void CMainFrame::NudgeElement0(korva::ArrowKey key) {
    if (elementCount_ > 0) {
        korva::NudgeElement(elements_[0], key);
    }
}

void CMainFrame::OnConnectionAccepted() {
    cycle_.StartTimer();
}

void CMainFrame::OnLinkStarted() {
    // One tick at once: the new link gets its first datum without waiting for the timer.
    cycle_.PostExtraTick();
}

void CMainFrame::OnClientWindow(HWND window) {
    commands_.RecordTarget(window);
}

bool CMainFrame::OnCommand(WORD id) {
    switch (id) {
    case ID_GOTO_POINT:
        OnGotoPoint();
        return true;
    case ID_FOLLOW_ELEMENT:
        OnFollowElement();
        return true;
    default:
        return false;
    }
}

void CMainFrame::OnGotoPoint() {
    commands_.GotoPoint(hwnd_, GetDialogColors());
}

void CMainFrame::OnFollowElement() {
    commands_.FollowElement(hwnd_, GetDialogColors(), elements_, elementCount_);
}
