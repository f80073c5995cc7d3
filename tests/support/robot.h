// The UI robot: finds the windows of a program under test, reads their texts, clicks buttons
// by control id, types into edits and answers message boxes. Every message it sends carries
// a time-out, so a busy window never blocks it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace robot {

constexpr DWORD kDefaultTimeoutMs = 15000;

// Which top-level window to look for; empty fields match anything.
struct WindowQuery {
    DWORD processId = 0;
    std::string title;        // exact caption
    std::string className;    // exact class name, "#32770" for dialogs and message boxes
    std::string textContains; // some static text inside the window contains this
    HWND exclude = nullptr;   // skip this window (to wait for another like it)
};

std::string Text(HWND window);
std::string ClassName(HWND window);
std::string ItemText(HWND dialog, int id);
// All static texts of a dialog, joined by newlines (a message box's text among them).
std::string StaticTexts(HWND dialog);

// The first visible dialog or message box of the process for which `matches` holds, waiting
// up to the time-out; nullptr when none came.
HWND WaitForDialog(DWORD processId, const std::function<bool(HWND dialog)>& matches,
                   DWORD timeoutMs = kDefaultTimeoutMs);
// A visible dialog of the process that holds a control with this id.
HWND WaitForDialogWithControl(DWORD processId, int controlId, DWORD timeoutMs = kDefaultTimeoutMs);
// Holds a key down for its lifetime, as the keyboard would. The robot's own window has the
// focus meanwhile, so the program under test sees the key only in the keyboard state.
class KeyHolder {
public:
    // `keyName` is the display's name of the key ("Escape"). Without a target the key goes to
    // a window of the robot's own; with one, that window (of any process) is brought to the
    // foreground first and receives the key's messages, repeats included.
    KeyHolder(BYTE virtualKey, const char* keyName, HWND target = nullptr);
    KeyHolder(const KeyHolder&) = delete;
    KeyHolder& operator=(const KeyHolder&) = delete;
    ~KeyHolder();
    bool IsDown() const;

private:
    BYTE key_;
    const char* name_;
    HWND window_ = nullptr;
};

// Holds the left mouse button down over a screen rectangle for its lifetime. A window of the
// robot's own lies over the rectangle and receives the press, so the program under test sees
// it only through the button state and the cursor position.
class MouseHolder {
public:
    explicit MouseHolder(const RECT& screenRect);
    MouseHolder(const MouseHolder&) = delete;
    MouseHolder& operator=(const MouseHolder&) = delete;
    ~MouseHolder();
    bool IsDown() const;

private:
    HWND window_ = nullptr;
};

// A visible top-level window of the process with this caption, found without sending it a
// message (the program may be too busy to answer).
HWND FindBusyWindow(DWORD processId, const char* caption);

// Visible top-level windows matching the query, in z-order.
std::vector<HWND> FindWindows(const WindowQuery& query);
// The first matching window, waiting up to the time-out; nullptr when none appeared.
HWND WaitForWindow(const WindowQuery& query, DWORD timeoutMs = kDefaultTimeoutMs);
// Waits until the window is gone or hidden; false on time-out.
bool WaitForWindowGone(HWND window, DWORD timeoutMs = kDefaultTimeoutMs);

// Round trips of WM_NULL: the window's thread has handled everything sent before.
bool Sync(HWND window);
// Clicks a push button of a dialog by control id (BN_CLICKED), then syncs.
bool Click(HWND dialog, int id);
// Sends a command as a button of that id would (the button need not exist), then syncs.
bool SendCommand(HWND dialog, int id);
// A message box: a dialog whose static text of id 0xFFFF contains `text`.
HWND WaitForMessageBox(DWORD processId, const std::string& text,
                       DWORD timeoutMs = kDefaultTimeoutMs);
std::string MessageBoxText(HWND box);
// Replaces the text of an edit control.
bool SetItemText(HWND dialog, int id, const std::string& text);
bool IsChecked(HWND dialog, int id);

// A program under test, started in its own process; killed if still running at the end.
class Process {
public:
    Process() = default;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();

    // Starts `program` with the command-line text `arguments` (may be empty).
    bool Start(const std::string& program, const std::string& arguments,
               const std::string& workingDir = {});
    DWORD Id() const { return info_.dwProcessId; }
    bool IsRunning() const;
    // Waits for the exit; returns the exit code, or -1 on time-out.
    long Wait(DWORD timeoutMs = kDefaultTimeoutMs);
    void Kill();

private:
    PROCESS_INFORMATION info_{};
};

// Starts a program of the prefix and waits for its end: its exit code, or -1 when it could
// not be started or did not end in time (it is then killed).
// Ends every process of this prefix whose program file is named `exeName` (without regard to
// case) and returns how many there were. A test that was killed at its time-out leaves its
// programs running, and a service they registered would answer the next test.
int EndLeftoverProcesses(const std::string& exeName);

long RunToEnd(const std::string& program, const std::string& arguments = {});

// Runs `check` until it returns true or the time-out passes.
template <typename Check> bool WaitUntil(Check check, DWORD timeoutMs = kDefaultTimeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (check()) {
            return true;
        }
        if (GetTickCount() - start > timeoutMs) {
            return false;
        }
        Sleep(20);
    }
}

// Checks `check` over `ms` milliseconds, at once and then every 20 ms to the end; true when it
// held at every check. For what must not happen: a condition that stays true for a while.
template <typename Check> bool HoldsFor(Check check, DWORD ms) {
    DWORD start = GetTickCount();
    for (;;) {
        if (!check()) {
            return false;
        }
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms) {
            return true;
        }
        Sleep(ms - elapsed < 20 ? ms - elapsed : 20);
    }
}

} // namespace robot
