// A real DDEML client for the tests: connects, requests, starts links and records every datum
// that arrives while it pumps its thread's messages.
//
// Wine's DDEML client ends a synchronous transaction early when advise data for another link
// of the same conversation arrives meanwhile, and its server follows the data of a request
// with a positive acknowledgement that ends the next request on that conversation. So each
// link gets a conversation of its own (in a DDEML instance of its own, since Wine allows one
// conversation per service and topic in an instance), and a request waits for that stray
// acknowledgement.
#pragma once

#include "framework/dde_handles.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

class DdeTestClient {
public:
    struct Datum {
        DWORD tick;       // GetTickCount at arrival
        std::string item; // the item's name
        UINT format;
        std::vector<uint8_t> bytes;
        int64_t microseconds; // the performance counter at arrival, for timing the cycles
    };

    // One client per thread at a time; clients on different threads are independent.
    DdeTestClient();
    ~DdeTestClient();
    DdeTestClient(const DdeTestClient&) = delete;
    DdeTestClient& operator=(const DdeTestClient&) = delete;

    bool Initialized() const { return static_cast<bool>(instance_); }
    // Null names ask for any service or topic (a wild connection).
    bool Connect(const char* service, const char* topic);
    // Ends the conversation and every link.
    void Disconnect();
    HCONV Conversation() const { return conversation_.Get(); }

    // A synchronous request; none when the server gave no data.
    std::optional<std::vector<uint8_t>> Request(const std::string& item, UINT format = 129);
    // A synchronous hot link, on a conversation of its own with the same service and topic;
    // true when the server accepted it. The link's data are recorded like all others.
    bool StartAdvise(const std::string& item, UINT format = 129);
    // The same in two steps, so that many links can be connected before any is started:
    // the conversation for a link on `item`, then the links of every such conversation.
    bool ConnectLink(const std::string& item);
    bool StartConnectedLinks(UINT format = 129);
    // Ends the link started on `item`.
    bool StopAdvise(const std::string& item, UINT format = 129);
    // True when the server acknowledged the poke or the command as processed.
    bool Poke(const std::string& item, const std::string& text);
    bool Execute(const std::string& command);
    UINT LastError() const;

    // Dispatches the thread's messages for `ms` milliseconds (data arrive meanwhile).
    void Pump(DWORD ms);
    // Pumps until `done` holds or `timeoutMs` passes; the final value of `done`.
    bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
    // Pumps for `ms` milliseconds while `holds` stays true; false as soon as it fails. For
    // what must not arrive.
    bool PumpWhileHolds(const std::function<bool()>& holds, DWORD ms);

    const std::vector<Datum>& Data() const { return data_; }
    void ClearData() { data_.clear(); }

private:
    // The transaction's result; `status` gets the server's acknowledgement bits.
    HDDEDATA Transaction(HCONV conversation, const std::string& item, UINT format, UINT type,
                         const void* bytes, DWORD size, DWORD* status = nullptr);
    // Dispatches messages until the conversation's window has received an acknowledgement,
    // for a short while at most.
    void SwallowStrayAck(HCONV conversation);
    static HDDEDATA CALLBACK Callback(UINT type, UINT format, HCONV conversation, HSZ hsz1,
                                      HSZ hsz2, HDDEDATA data, ULONG_PTR, ULONG_PTR);

    struct Link {
        std::string item;
        fw::DdeInstance instance; // released after its conversation
        fw::UniqueDdeConversation conversation;
        bool advising = false;
    };
    bool Advise(Link& link, UINT format);
    // The instance a conversation of this client belongs to.
    DWORD InstanceOf(HCONV conversation) const;

    fw::DdeInstance instance_;
    std::string service_;
    std::string topic_;
    fw::UniqueDdeConversation conversation_;
    std::vector<std::unique_ptr<Link>> links_;
    std::vector<Datum> data_;
};

// A visible top-level window of the test process that records every WM_COPYDATA it gets:
// the map program's window as posinet sees it.
class CopyDataWindow {
public:
    struct Received {
        WPARAM sender;
        ULONG_PTR dwData;
        std::vector<uint8_t> bytes;
    };

    CopyDataWindow();
    ~CopyDataWindow();
    CopyDataWindow(const CopyDataWindow&) = delete;
    CopyDataWindow& operator=(const CopyDataWindow&) = delete;

    HWND Handle() const { return window_; }
    const std::vector<Received>& ReceivedBlocks() const { return received_; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    std::vector<Received> received_;
};

} // namespace e2e
