// A second thread for a test, and a lock for what it shares with the test's thread. The
// Windows programs are built with compilers that carry no threading runtime (the shipped
// programs have one thread each), so the tests use the platform's threads directly.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

namespace testthread {

// Runs `body` on a new thread; joined by Join() or at the latest by the destructor.
class Thread {
public:
    Thread() = default;
    explicit Thread(std::function<void()> body);
    Thread(Thread&& other) noexcept;
    Thread& operator=(Thread&& other) noexcept;
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;
    ~Thread();

    bool Joinable() const { return handle_ != nullptr; }
    void Join();

private:
    static unsigned __stdcall Start(void* body);

    std::unique_ptr<std::function<void()>> body_;
    HANDLE handle_ = nullptr;
};

// A critical section with the lock()/unlock() that std::lock_guard and std::unique_lock use.
class Mutex {
public:
    Mutex() { InitializeCriticalSection(&section_); }
    ~Mutex() { DeleteCriticalSection(&section_); }
    Mutex(const Mutex&) = delete;
    Mutex& operator=(const Mutex&) = delete;

    void lock() { EnterCriticalSection(&section_); }
    void unlock() { LeaveCriticalSection(&section_); }

private:
    CRITICAL_SECTION section_;
};

} // namespace testthread
