#include "tests/support/posinet_load.h"

#include "posinet/portable/element_table.h"
#include "posinet/portable/records.h"

#include <algorithm>

#include <psapi.h>
#include <tlhelp32.h>

namespace e2e {

namespace {

constexpr DWORD kPumpSliceMs = 100;

uint64_t FileTimeValue(const FILETIME& time) {
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

HANDLE NewEvent() {
    return CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

} // namespace

bool WaitPumping(HANDLE handle, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs) {
            return WaitForSingleObject(handle, 0) == WAIT_OBJECT_0;
        }
        const DWORD result =
            MsgWaitForMultipleObjects(1, &handle, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
        if (result == WAIT_OBJECT_0) {
            return true;
        }
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

void LinkedClients::Run(Running& client, const std::atomic<bool>& stop) {
    DdeTestClient dde;
    auto fail = [&](std::string why) {
        client.result.failure = std::move(why);
        client.failed = true;
    };
    if (!dde.Initialized() || !dde.Connect("Posinet", "Posizioni")) {
        fail("no connection (DDEML error " + std::to_string(dde.LastError()) + ")");
    }
    for (int i = 0; !client.failed && i < korva::kElementCount; ++i) {
        if (!dde.ConnectLink(korva::ElementItemName(i))) {
            fail("no conversation for " + korva::ElementItemName(i));
        }
    }
    SetEvent(client.connected.Get());
    if (!client.failed) {
        WaitPumping(client.link.Get(), INFINITE);
        if (!stop && !dde.StartConnectedLinks()) {
            fail("a link was refused");
        }
        client.result.linked = !client.failed && !stop;
        client.result.firstLinkedDatum = dde.Data().size();
    }
    SetEvent(client.linked.Get());
    while (!stop) {
        dde.Pump(kPumpSliceMs);
        client.linkedData = dde.Data().size() - client.result.firstLinkedDatum;
    }
    client.result.data = dde.Data();
}

bool LinkedClients::Add(int count, DWORD timeoutMs) {
    const size_t first = clients_.size();
    for (int i = 0; i < count; ++i) {
        auto client = std::make_unique<Running>();
        Running& running = *client;
        running.connected.Reset(NewEvent());
        running.link.Reset(NewEvent());
        running.linked.Reset(NewEvent());
        running.thread = testthread::Thread([&running, this] { Run(running, stop_); });
        clients_.push_back(std::move(client));
    }
    for (size_t c = first; c < clients_.size(); ++c) {
        Running& running = *clients_[c];
        if (!WaitPumping(running.connected.Get(), timeoutMs) || running.failed) {
            return false;
        }
    }
    for (size_t c = first; c < clients_.size(); ++c) {
        Running& running = *clients_[c];
        SetEvent(running.link.Get());
        if (!WaitPumping(running.linked.Get(), timeoutMs) || !running.result.linked) {
            return false;
        }
    }
    return true;
}

bool LinkedClients::WaitForLinkedData(size_t perClient, DWORD timeoutMs) {
    auto enough = [&] {
        for (const auto& client : clients_) {
            if (client->linkedData < perClient) {
                return false;
            }
        }
        return true;
    };
    const DWORD start = GetTickCount();
    while (!enough()) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min(timeoutMs - elapsed, kPumpSliceMs),
                                  QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return true;
}

const LinkedClients::Client* LinkedClients::Failed() const {
    for (const auto& client : clients_) {
        if (client->failed) {
            return &client->result;
        }
    }
    return nullptr;
}

void LinkedClients::Stop() {
    stop_ = true;
    for (auto& client : clients_) {
        SetEvent(client->link.Get());
    }
    for (auto& client : clients_) {
        if (client->thread.Joinable()) {
            client->thread.Join();
        }
    }
}

ProcessUsage UsageOf(DWORD processId) {
    ProcessUsage usage;
    fw::UniqueKernelHandle process(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (process && GetProcessMemoryInfo(process.Get(), &memory, sizeof memory)) {
        usage.privateBytes = memory.PagefileUsage;
        usage.workingSet = memory.WorkingSetSize;
    }
    fw::UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = snapshot && Thread32First(snapshot.Get(), &entry); more;
         more = Thread32Next(snapshot.Get(), &entry)) {
        if (entry.th32OwnerProcessID != processId) {
            continue;
        }
        fw::UniqueKernelHandle thread(
            OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID));
        FILETIME created, exited, kernel, user;
        if (thread && GetThreadTimes(thread.Get(), &created, &exited, &kernel, &user)) {
            usage.cpuTime += FileTimeValue(kernel) + FileTimeValue(user);
        }
    }
    return usage;
}

} // namespace e2e
