#include "tests/support/dde_test_client.h"

#include "tests/support/microsecond_clock.h"

#include <dde.h>

namespace e2e {

namespace {

// Each client thread has its own client: DDEML calls back on the thread of the instance.
thread_local DdeTestClient* currentClient = nullptr;
constexpr DWORD kTransactionTimeoutMs = 5000;
constexpr DWORD kStrayAckWaitMs = 100;

} // namespace

DdeTestClient::DdeTestClient() {
    currentClient = this;
    instance_.Initialize(Callback,
                         APPCMD_CLIENTONLY | CBF_SKIP_REGISTRATIONS | CBF_SKIP_UNREGISTRATIONS);
}

DdeTestClient::~DdeTestClient() {
    Disconnect();
    instance_.Reset();
    if (currentClient == this) {
        currentClient = nullptr;
    }
}

bool DdeTestClient::Connect(const char* service, const char* topic) {
    Disconnect();
    service_ = service ? service : "";
    topic_ = topic ? topic : "";
    fw::DdeStringHandle serviceHandle;
    fw::DdeStringHandle topicHandle;
    if (service) {
        serviceHandle = fw::DdeStringHandle(instance_.Id(), service);
    }
    if (topic) {
        topicHandle = fw::DdeStringHandle(instance_.Id(), topic);
    }
    conversation_.Reset(
        DdeConnect(instance_.Id(), serviceHandle.Get(), topicHandle.Get(), nullptr));
    return static_cast<bool>(conversation_);
}

void DdeTestClient::Disconnect() {
    links_.clear();
    conversation_.Reset();
}

HDDEDATA DdeTestClient::Transaction(HCONV conversation, const std::string& item, UINT format,
                                    UINT type, const void* bytes, DWORD size, DWORD* status) {
    if (!conversation) {
        return nullptr;
    }
    fw::DdeStringHandle itemHandle;
    if (!item.empty()) {
        itemHandle = fw::DdeStringHandle(instance_.Id(), item.c_str());
    }
    DWORD result = 0;
    HDDEDATA data =
        DdeClientTransaction(static_cast<LPBYTE>(const_cast<void*>(bytes)), size, conversation,
                             itemHandle.Get(), format, type, kTransactionTimeoutMs, &result);
    if (status) {
        *status = result;
    }
    return data;
}

void DdeTestClient::SwallowStrayAck(HCONV conversation) {
    CONVINFO info{};
    info.cb = sizeof info;
    if (!conversation || !DdeQueryConvInfo(conversation, QID_SYNC, &info)) {
        return;
    }
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < kStrayAckWaitMs) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            const bool ack = message.hwnd == info.hwnd && message.message == WM_DDE_ACK;
            TranslateMessage(&message);
            DispatchMessageA(&message);
            if (ack) {
                return;
            }
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

std::optional<std::vector<uint8_t>> DdeTestClient::Request(const std::string& item, UINT format) {
    fw::UniqueDdeData data(
        Transaction(conversation_.Get(), item, format, XTYP_REQUEST, nullptr, 0));
    if (!data) {
        return std::nullopt;
    }
    SwallowStrayAck(conversation_.Get());
    return fw::DdeDataBytes(data.Get(), 4096);
}

bool DdeTestClient::StartAdvise(const std::string& item, UINT format) {
    if (!ConnectLink(item)) {
        return false;
    }
    if (!Advise(*links_.back(), format)) {
        links_.pop_back();
        return false;
    }
    return true;
}

bool DdeTestClient::ConnectLink(const std::string& item) {
    if (!conversation_) {
        return false;
    }
    auto link = std::make_unique<Link>();
    link->item = item;
    if (link->instance.Initialize(Callback, APPCMD_CLIENTONLY | CBF_SKIP_REGISTRATIONS |
                                                CBF_SKIP_UNREGISTRATIONS) != DMLERR_NO_ERROR) {
        return false;
    }
    fw::DdeStringHandle serviceHandle(link->instance.Id(), service_.c_str());
    fw::DdeStringHandle topicHandle(link->instance.Id(), topic_.c_str());
    link->conversation.Reset(
        DdeConnect(link->instance.Id(), serviceHandle.Get(), topicHandle.Get(), nullptr));
    if (!link->conversation) {
        return false;
    }
    links_.push_back(std::move(link));
    return true;
}

bool DdeTestClient::StartConnectedLinks(UINT format) {
    for (auto& link : links_) {
        if (!link->advising && !Advise(*link, format)) {
            return false;
        }
    }
    return true;
}

bool DdeTestClient::Advise(Link& link, UINT format) {
    fw::DdeStringHandle itemHandle(link.instance.Id(), link.item.c_str());
    DWORD result = 0;
    link.advising = link.conversation &&
                    DdeClientTransaction(nullptr, 0, link.conversation.Get(), itemHandle.Get(),
                                         format, XTYP_ADVSTART, kTransactionTimeoutMs, &result);
    return link.advising;
}

bool DdeTestClient::StopAdvise(const std::string& item, UINT format) {
    for (auto& link : links_) {
        if (link->item == item && link->conversation) {
            fw::DdeStringHandle itemHandle(link->instance.Id(), item.c_str());
            DWORD result = 0;
            return DdeClientTransaction(nullptr, 0, link->conversation.Get(), itemHandle.Get(),
                                        format, XTYP_ADVSTOP, kTransactionTimeoutMs,
                                        &result) != nullptr;
        }
    }
    return false;
}

DWORD DdeTestClient::InstanceOf(HCONV conversation) const {
    for (const auto& link : links_) {
        if (link->conversation.Get() == conversation) {
            return link->instance.Id();
        }
    }
    return instance_.Id();
}

bool DdeTestClient::Poke(const std::string& item, const std::string& text) {
    DWORD status = 0;
    return Transaction(conversation_.Get(), item, CF_TEXT, XTYP_POKE, text.c_str(),
                       static_cast<DWORD>(text.size() + 1), &status) != nullptr &&
           (status & DDE_FACK) != 0;
}

bool DdeTestClient::Execute(const std::string& command) {
    DWORD status = 0;
    return Transaction(conversation_.Get(), {}, 0, XTYP_EXECUTE, command.c_str(),
                       static_cast<DWORD>(command.size() + 1), &status) != nullptr &&
           (status & DDE_FACK) != 0;
}

UINT DdeTestClient::LastError() const {
    return DdeGetLastError(instance_.Id());
}

void DdeTestClient::Pump(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}

bool DdeTestClient::PumpWhileHolds(const std::function<bool()>& holds, DWORD ms) {
    bool failed = false;
    PumpUntil(
        [&] {
            failed = failed || !holds();
            return failed;
        },
        ms);
    return !failed;
}

bool DdeTestClient::PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (done()) {
            return true;
        }
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs) {
            return done();
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
    }
}

HDDEDATA CALLBACK DdeTestClient::Callback(UINT type, UINT format, HCONV conversation, HSZ, HSZ hsz2,
                                          HDDEDATA data, ULONG_PTR, ULONG_PTR) {
    DdeTestClient* self = currentClient;
    if (!self) {
        return nullptr;
    }
    switch (type) {
    case XTYP_ADVDATA:
        self->data_.push_back(
            Datum{GetTickCount(), fw::DdeQueryText(self->InstanceOf(conversation), hsz2, 256),
                  format, fw::DdeDataBytes(data, 4096), testclock::MicrosecondsNow()});
        return reinterpret_cast<HDDEDATA>(DDE_FACK);
    case XTYP_DISCONNECT:
        // The server ended the conversation; its handle is not disconnected again.
        if (self->conversation_.Get() == conversation) {
            self->conversation_.Release();
        }
        for (auto& link : self->links_) {
            if (link->conversation.Get() == conversation) {
                link->conversation.Release();
            }
        }
        return nullptr;
    default:
        return nullptr;
    }
}

namespace {
constexpr const char* kCopyDataClass = "KorvaTestCopyData";
}

CopyDataWindow::CopyDataWindow() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kCopyDataClass;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassA(&windowClass);
    window_ = CreateWindowExA(0, kCopyDataClass, "Mappa di prova", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                              10, 10, 200, 120, nullptr, nullptr, GetModuleHandleA(nullptr), this);
}

CopyDataWindow::~CopyDataWindow() {
    if (window_) {
        DestroyWindow(window_);
    }
}

LRESULT CALLBACK CopyDataWindow::WindowProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<CopyDataWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_COPYDATA && self) {
        const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        const auto* bytes = static_cast<const uint8_t*>(copy->lpData);
        self->received_.push_back(Received{wParam, copy->dwData,
                                           bytes ? std::vector<uint8_t>(bytes, bytes + copy->cbData)
                                                 : std::vector<uint8_t>()});
        return TRUE;
    }
    if (message == WM_NCDESTROY && self) {
        self->window_ = nullptr;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace e2e
