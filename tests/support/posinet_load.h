// Many map programs at once: client threads of this process, each with DDEML instances of its
// own (one per link, as Wine's DDEML asks) and its own message loop, every element linked.
// And what posinet costs meanwhile: its memory and its processor time.
#pragma once

#include "framework/handles.h"
#include "tests/support/dde_test_client.h"
#include "test_thread.h"

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace e2e {

class LinkedClients {
public:
    struct Client {
        bool linked = false;
        std::string failure; // why it could not connect or link
        // Index of the first datum that came after every link had been started.
        size_t firstLinkedDatum = 0;
        // Everything received; filled when the client stops.
        std::vector<DdeTestClient::Datum> data;
    };

    LinkedClients() = default;
    LinkedClients(const LinkedClients&) = delete;
    LinkedClients& operator=(const LinkedClients&) = delete;
    ~LinkedClients() { Stop(); }

    // Starts `count` more clients, each linked to Element0 to Element9. They all make their
    // conversations (one per link) at once, then start their links one client after the
    // other: every link started costs posinet a tick for all links so far, and linking
    // one at a time keeps that phase short. The calling thread dispatches its own messages
    // meanwhile (connections are announced to every window). False when a client failed or
    // took longer than `timeoutMs` for a step.
    bool Add(int count, DWORD timeoutMs);
    // Dispatches the calling thread's messages until every client has received `perClient`
    // data since its links were started (ten a cycle); false when `timeoutMs` passed first.
    bool WaitForLinkedData(size_t perClient, DWORD timeoutMs);
    // Ends every client: its message loop, its links and its conversations.
    void Stop();

    size_t Count() const { return clients_.size(); }
    // A client's results; complete once Stop() has returned.
    const Client& At(size_t i) const { return clients_[i]->result; }
    // The first client that failed to connect or link; null when none did.
    const Client* Failed() const;

private:
    struct Running {
        Client result;
        fw::UniqueKernelHandle connected; // set by the thread: conversations made (or failed)
        fw::UniqueKernelHandle link;      // set for the thread: start the links
        fw::UniqueKernelHandle linked;    // set by the thread: links started (or failed)
        std::atomic<bool> failed{false};
        // Data received since the links were started, as the thread last counted them.
        std::atomic<size_t> linkedData{0};
        testthread::Thread thread;
    };
    static void Run(Running& client, const std::atomic<bool>& stop);

    std::atomic<bool> stop_{false};
    std::vector<std::unique_ptr<Running>> clients_;
};

// What a process of the prefix uses, as far as Wine tells another process.
struct ProcessUsage {
    // Anonymous resident memory, the closest Wine comes to private bytes for another process.
    size_t privateBytes = 0;
    size_t workingSet = 0;
    // Kernel and user time of all its threads (Wine gives no process times for another
    // process), in 100-ns units; the kernel counts them in 10-ms clock ticks.
    uint64_t cpuTime = 0;
};
ProcessUsage UsageOf(DWORD processId);

// Dispatches the calling thread's messages until the handle is signalled or the time-out
// passes; true when it was signalled.
bool WaitPumping(HANDLE handle, DWORD timeoutMs);

} // namespace e2e
