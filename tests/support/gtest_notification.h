// Given to GoogleTest ahead of its own headers in the Windows build. Its one lock built on
// std::mutex and std::condition_variable does not exist with the Windows compilers used here
// (they carry no threading runtime, so that the shipped programs import only what Windows 95
// and NT 4.0 have); this is the same notification on a platform event.
#pragma once

#include <windows.h>

namespace testing {
namespace internal {

class Notification {
public:
    Notification() : event_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~Notification() { CloseHandle(event_); }
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify() { SetEvent(event_); }
    void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

private:
    HANDLE event_;
};

} // namespace internal
} // namespace testing
