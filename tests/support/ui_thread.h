// Runs a dialog on the test's main thread while a robot script drives it from a second
// thread. Whatever the script leaves open is closed afterwards, so a failing script never
// leaves the test hanging in a modal loop.
#pragma once

#include "robot.h"
#include "test_thread.h"

#include <atomic>

template <typename Ui, typename Script> void RunWithRobot(Ui ui, Script script) {
    std::atomic<bool> uiDone{false};
    testthread::Thread robotThread([&] {
        script();
        robot::WindowQuery mine;
        mine.processId = GetCurrentProcessId();
        while (!uiDone) {
            for (HWND window : robot::FindWindows(mine)) {
                // Abort/Retry/Ignore boxes have no Cancel: they end only with Abort.
                PostMessageA(window, WM_COMMAND, IDABORT, 0);
                PostMessageA(window, WM_CLOSE, 0, 0);
            }
            Sleep(50);
        }
    });
    ui();
    uiDone = true;
    robotThread.Join();
}

inline robot::WindowQuery OwnWindow(const char* title) {
    robot::WindowQuery query;
    query.processId = GetCurrentProcessId();
    query.title = title;
    return query;
}
