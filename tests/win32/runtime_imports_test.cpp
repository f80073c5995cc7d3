// The runtime imports the programs give themselves: CreateSemaphoreW leads to CreateSemaphoreA,
// for the program's own calls and for the C++ runtime's locks, which then work on systems
// whose CreateSemaphoreW is a stub.
#define __GTHREAD_HIDE_WIN32API 1 // the runtime's own lock functions, as libstdc++ uses them
#include <bits/gthr.h>

#include "robot.h"
#include "test_thread.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>

namespace {

struct Handle {
    HANDLE h;
    ~Handle() {
        if (h) {
            CloseHandle(h);
        }
    }
};

} // namespace

TEST(RuntimeImports, CreateSemaphoreWIsTheProgramsOwn) {
    const auto system = reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreateSemaphoreW"));
    ASSERT_NE(system, nullptr);
    EXPECT_NE(reinterpret_cast<void*>(&CreateSemaphoreW), system);
}

TEST(RuntimeImports, AnUnnamedSemaphoreCounts) {
    Handle semaphore{CreateSemaphoreW(nullptr, 0, 2, nullptr)};
    ASSERT_NE(semaphore.h, nullptr);
    EXPECT_EQ(WaitForSingleObject(semaphore.h, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    LONG previous = -1;
    ASSERT_TRUE(ReleaseSemaphore(semaphore.h, 2, &previous));
    EXPECT_EQ(previous, 0);
    EXPECT_FALSE(ReleaseSemaphore(semaphore.h, 1, nullptr)); // beyond the maximum
    EXPECT_EQ(WaitForSingleObject(semaphore.h, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(semaphore.h, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(semaphore.h, 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

TEST(RuntimeImports, ANamedSemaphoreKeepsItsName) {
    const std::string name = "korva-runtime-imports-" + std::to_string(GetCurrentProcessId());
    const std::wstring wide(name.begin(), name.end());
    Handle created{CreateSemaphoreW(nullptr, 1, 1, wide.c_str())};
    ASSERT_NE(created.h, nullptr);
    Handle opened{OpenSemaphoreA(SEMAPHORE_ALL_ACCESS, FALSE, name.c_str())};
    ASSERT_NE(opened.h, nullptr);
    EXPECT_EQ(WaitForSingleObject(opened.h, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(created.h, 0), static_cast<DWORD>(WAIT_TIMEOUT));

    // A name longer than the platform's names fails with the conversion's error.
    const std::wstring tooLong(MAX_PATH + 10, L'k');
    SetLastError(0);
    EXPECT_EQ(CreateSemaphoreW(nullptr, 0, 1, tooLong.c_str()), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
}

TEST(RuntimeImports, TheRuntimesLockMakesASecondThreadWait) {
    __gthread_mutex_t mutex;
    __gthread_mutex_init_function(&mutex);
    ASSERT_NE(mutex.sema, nullptr);
    ASSERT_EQ(__gthread_mutex_lock(&mutex), 0);

    std::atomic<int> secondLocked{-1};
    testthread::Thread second([&] {
        const int result = __gthread_mutex_lock(&mutex);
        secondLocked = result;
        if (result == 0) {
            __gthread_mutex_unlock(&mutex);
        }
    });
    // While the first holds the lock the second waits on the lock's semaphore.
    EXPECT_TRUE(robot::HoldsFor([&] { return secondLocked == -1; }, 300));
    ASSERT_EQ(__gthread_mutex_unlock(&mutex), 0);
    EXPECT_TRUE(robot::WaitUntil([&] { return secondLocked != -1; }));
    second.Join();
    EXPECT_EQ(secondLocked, 0);
    __gthread_mutex_destroy(&mutex);
}
