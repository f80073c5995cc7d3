#include "main_frame.h"

#include "advise_atom.h"
#include "point_dialogs.h"
#include "resource.h"
#include "target_window.h"

#include "app.h"
#include "coordinate.h"
#include "handles.h"

#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

CMainFrame* theFrame = nullptr;
// Set while a tick runs: a timer message dispatched meanwhile (from inside DDEML) is dropped.
bool tickRunning = false;

} // namespace

CMainFrame* MainFrame() {
    return theFrame;
}

CMainFrame::CMainFrame() {
    elementCount = korva::kElementCount;
    korva::SetBuiltInPositions(elements);
    korva::HeadingGenerator headings(static_cast<uint32_t>(std::time(nullptr)));
    korva::AssignHeadings(elements, headings);
    StartService();
}

CMainFrame::~CMainFrame() {
    StopService();
    if (theFrame == this) {
        theFrame = nullptr;
    }
}

void CMainFrame::StartService() {
    std::snprintf(serviceName, sizeof serviceName, "%s", "Posinet");
    std::snprintf(topicName, sizeof topicName, "%s", "Posizioni");
    std::snprintf(allItemsName, sizeof allItemsName, "%s", "Tutti");
    theFrame = this;
    // Executes are refused by DDEML itself; no notifications reach the callback.
    ddeInstance.Initialize(DdeCallback,
                           APPCLASS_STANDARD | CBF_FAIL_EXECUTES | CBF_SKIP_ALLNOTIFICATIONS);
    serviceHandle = fw::DdeStringHandle(ddeInstance.Id(), serviceName);
    topicHandle = fw::DdeStringHandle(ddeInstance.Id(), topicName);
    allItemsHandle = fw::DdeStringHandle(ddeInstance.Id(), allItemsName);
    if (ddeInstance && serviceHandle) {
        DdeNameService(ddeInstance.Id(), serviceHandle.Get(), nullptr, DNS_REGISTER);
    }
}

void CMainFrame::StopService() {
    if (ddeInstance && serviceHandle) {
        DdeNameService(ddeInstance.Id(), serviceHandle.Get(), nullptr, DNS_UNREGISTER);
    }
    serviceHandle.Reset();
    topicHandle.Reset();
    allItemsHandle.Reset();
    ddeInstance.Reset();
}

void CMainFrame::StartTimer() {
    // A connection accepted before the window exists starts the timer at its creation.
    if (!timerId && m_hWnd) {
        timerId = SetTimer(m_hWnd, kTickTimerId, kTickPeriodMs, nullptr);
    }
}

int CMainFrame::OnCreate() {
    if (connected) {
        StartTimer();
    }
    return 0;
}

void CMainFrame::OnDestroy() {
    if (timerId) {
        KillTimer(m_hWnd, timerId);
        timerId = 0;
    }
}

bool CMainFrame::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message != WM_TIMER) {
        return false;
    }
    // Every timer message is a tick, whatever its identifier: the extra tick of an advise
    // start comes with identifier 0.
    senderWindow = AppGetApp() ? AppGetApp()->m_hMainWnd : m_hWnd;
    result = 0;
    if (tickRunning) {
        return true;
    }
    tickRunning = true;
    Tick();
    result = Default(message, wParam, lParam);
    tickRunning = false;
    return true;
}

void CMainFrame::Tick() {
    if (!connected || !advising) {
        return;
    }
    korva::MoveElements(elements, elementCount, [this](int i) { PostAdvise(i); });
}

void CMainFrame::PostAdvise(int element) {
    const std::string name = korva::ElementItemName(element);
    fw::DdeStringHandle item(ddeInstance.Id(), name.c_str());
    if (item) {
        DdePostAdvise(ddeInstance.Id(), topicHandle.Get(), item.Get());
        adviseBlocks.Reclaim();
    }
}

void CMainFrame::NudgeElement0(korva::ArrowKey key) {
    if (elementCount > 0) {
        korva::NudgeElement(elements[0], key);
    }
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

HDDEDATA CALLBACK CMainFrame::DdeCallback(UINT type, UINT, HCONV conversation, HSZ hsz1, HSZ hsz2,
                                          HDDEDATA, ULONG_PTR data1, ULONG_PTR) {
    CMainFrame* frame = MainFrame();
    if (frame && type == XTYP_ADVREQ) {
        KeepItemAtomForNextLink(frame->ddeInstance.Id(), hsz2, LOWORD(data1));
    }
    return frame ? frame->OnDdeTransaction(type, conversation, hsz1, hsz2) : nullptr;
}

HDDEDATA CMainFrame::OnDdeTransaction(UINT type, HCONV conversation, HSZ hsz1, HSZ hsz2) {
    switch (type) {
    case XTYP_CONNECT: {
        // hsz1 is the topic, hsz2 the service; both must match exactly.
        const std::string topic = fw::DdeQueryText(ddeInstance.Id(), hsz1, kDdeNameSize);
        const std::string service = fw::DdeQueryText(ddeInstance.Id(), hsz2, kDdeNameSize);
        if (service != serviceName || topic != topicName) {
            return reinterpret_cast<HDDEDATA>(FALSE);
        }
        connected = 1;
        advising = 1;
        StartTimer();
        return reinterpret_cast<HDDEDATA>(TRUE);
    }
    case XTYP_ADVSTART:
        if (ElementOfItem(hsz2) < 0) {
            return reinterpret_cast<HDDEDATA>(FALSE);
        }
        RecordTarget(conversation);
        // One tick at once: the new link gets its first datum without waiting for the timer.
        if (m_hWnd) {
            PostMessageA(m_hWnd, WM_TIMER, 0, 0);
        }
        return reinterpret_cast<HDDEDATA>(TRUE);
    case XTYP_REQUEST:
        RecordTarget(conversation);
        return PositionData(hsz2);
    case XTYP_ADVREQ:
        return PositionData(hsz2, conversation);
    case XTYP_ADVSTOP:
        // Links, flags and timer stay as they are.
        return reinterpret_cast<HDDEDATA>(1);
    default:
        return nullptr;
    }
}

int CMainFrame::ElementOfItem(HSZ item) const {
    const int element =
        korva::ElementFromItemName(fw::DdeQueryText(ddeInstance.Id(), item, kDdeNameSize));
    return element < elementCount ? element : -1;
}

HDDEDATA CMainFrame::PositionData(HSZ item, HCONV adviseConversation) {
    const int element = ElementOfItem(item);
    if (element < 0) {
        return nullptr;
    }
    auto bytes =
        korva::EncodePositionRecord({korva::kPositionKind, static_cast<uint16_t>(element),
                                     elements[element].longitude, elements[element].latitude});
    // No flags: DDEML owns the handle once the callback has returned it.
    HDDEDATA data =
        DdeCreateDataHandle(ddeInstance.Id(), bytes.data(), static_cast<DWORD>(bytes.size()), 0,
                            item, korva::kPositionFormat, 0);
    if (data && adviseConversation) {
        adviseBlocks.ExpectBlock(bytes, korva::kPositionFormat,
                                 PartnerProcessId(adviseConversation));
    }
    return data;
}

void CMainFrame::RecordTarget(HCONV conversation) {
    if (HWND window = MainWindowOfPartner(conversation)) {
        targetWindow = window;
    }
}

bool CMainFrame::HasTarget() const {
    return targetWindow && IsWindow(targetWindow);
}

void CMainFrame::OnGotoPoint() {
    CGotoPointDlg dialog(m_hWnd);
    if (!HasTarget()) {
        return;
    }
    if (dialog.DoModal() != IDOK) {
        return;
    }
    korva::GotoPointBlock block;
    block.command.kind = korva::kGotoPointKind;
    block.command.element = 0;
    block.command.longitude = korva::ParseCoordinate(dialog.longitude.c_str());
    block.command.latitude = korva::ParseCoordinate(dialog.latitude.c_str());
    SendCommandBlock(block);
}

void CMainFrame::OnFollowElement() {
    CFollowElementDlg dialog(m_hWnd, elementCount);
    if (!HasTarget()) {
        return;
    }
    if (dialog.DoModal() != IDOK || dialog.element < 0 || dialog.element >= elementCount) {
        return;
    }
    korva::GotoPointBlock block;
    block.command.kind = korva::kFollowElementKind;
    block.command.element = static_cast<uint16_t>(dialog.element);
    block.command.longitude = elements[dialog.element].longitude;
    block.command.latitude = elements[dialog.element].latitude;
    SendCommandBlock(block);
}

void CMainFrame::SendCommandBlock(const korva::GotoPointBlock& block) {
    const auto bytes = korva::EncodeGotoPointBlock(block);
    fw::UniqueGlobal memory(
        GlobalAlloc(GMEM_DDESHARE | GMEM_MOVEABLE | GMEM_ZEROINIT, bytes.size()));
    if (!memory) {
        return;
    }
    void* data = GlobalLock(memory.Get());
    if (!data) {
        return;
    }
    std::memcpy(data, bytes.data(), bytes.size());
    COPYDATASTRUCT copy{};
    copy.dwData = 0;
    copy.cbData = static_cast<DWORD>(bytes.size());
    copy.lpData = data;
    // Synchronous, but a map program that stopped answering does not stop this one.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(targetWindow, WM_COPYDATA, reinterpret_cast<WPARAM>(senderWindow),
                        reinterpret_cast<LPARAM>(&copy), SMTO_ABORTIFHUNG, 5000, &ignored);
    GlobalUnlock(memory.Get());
}
