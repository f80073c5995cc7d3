#include "test_thread.h"

#include <process.h>

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace testthread {

Thread::Thread(std::function<void()> body)
    : body_(std::make_unique<std::function<void()>>(std::move(body))) {
    // Through the C runtime, which sets up and frees its own data of the thread (the thread
    // uses the runtime: strings, containers, streams).
    handle_ = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, Start, body_.get(), 0, nullptr));
    if (!handle_) {
        // A test that cannot start its second thread cannot go on meaningfully.
        std::fprintf(stderr, "_beginthreadex failed: error %lu\n", GetLastError());
        std::abort();
    }
}

Thread::Thread(Thread&& other) noexcept
    : body_(std::move(other.body_)), handle_(std::exchange(other.handle_, nullptr)) {}

Thread& Thread::operator=(Thread&& other) noexcept {
    if (this != &other) {
        Join();
        body_ = std::move(other.body_);
        handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
}

Thread::~Thread() {
    Join();
}

void Thread::Join() {
    if (!handle_) {
        return;
    }
    WaitForSingleObject(handle_, INFINITE);
    CloseHandle(handle_);
    handle_ = nullptr;
}

unsigned __stdcall Thread::Start(void* body) {
    (*static_cast<std::function<void()>*>(body))();
    return 0;
}

} // namespace testthread
