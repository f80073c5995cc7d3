// Drives the real posinet.exe of the sample CD (and the map viewer) in the prefix: start, the
// main window and its view, menu commands, the end of the program.
#pragma once

#include "robot.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace e2e {

// Built-in starting positions, in thousandths of an arc-second.
struct StartPosition {
    int32_t longitude;
    int32_t latitude;
};
StartPosition BuiltInStart(int element);

class PosinetRun {
public:
    PosinetRun() = default;
    PosinetRun(const PosinetRun&) = delete;
    PosinetRun& operator=(const PosinetRun&) = delete;
    ~PosinetRun();

    // Starts POSINET.EXE from the sample CD and waits for its main window.
    bool Start();
    DWORD Pid() const { return process_.Id(); }
    HWND Frame() const { return frame_; }
    HWND View() const;

    // A menu command handled before this returns (for commands that open no modal dialog).
    bool SendCommand(WORD id);
    // A menu command posted; the dialog it opens is then waited for.
    bool PostCommand(WORD id);
    // One arrow-key press handled by the view before this returns.
    bool PressKey(UINT key);
    HWND WaitDialog(const std::string& title, const std::string& textContains = {});

    // Closes the main window; the exit code, or -1 when the program did not end.
    long Close();
    long ExitCode() { return process_.Wait(0); }

private:
    robot::Process process_;
    HWND frame_ = nullptr;
};

// The map viewer started with a log file.
class MapViewRun {
public:
    ~MapViewRun();
    bool Start(const std::string& logPath);
    DWORD Pid() const { return process_.Id(); }
    HWND Window() const { return window_; }
    long Close();

private:
    robot::Process process_;
    HWND window_ = nullptr;
};

} // namespace e2e
