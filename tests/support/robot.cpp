#include "robot.h"

#include "message_boxes.h"
#include "scratch.h"

#include <tlhelp32.h>

#include <cstdio>
#include <memory>
#include <cstring>

namespace robot {

namespace {

constexpr UINT kSendTimeoutMs = 3000;

bool SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                     DWORD_PTR* result = nullptr) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                               kSendTimeoutMs, result ? result : &ignored) != 0;
}

struct EnumState {
    const WindowQuery* query;
    std::vector<HWND>* found;
};

bool Matches(HWND window, const WindowQuery& query) {
    if (!IsWindowVisible(window) || window == query.exclude) {
        return false;
    }
    if (query.processId) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (pid != query.processId) {
            return false;
        }
    }
    if (!query.className.empty() && ClassName(window) != query.className) {
        return false;
    }
    if (!query.title.empty() && Text(window) != query.title) {
        return false;
    }
    if (!query.textContains.empty() &&
        StaticTexts(window).find(query.textContains) == std::string::npos) {
        return false;
    }
    return true;
}

BOOL CALLBACK CollectTopWindow(HWND window, LPARAM param) {
    auto* state = reinterpret_cast<EnumState*>(param);
    if (Matches(window, *state->query)) {
        state->found->push_back(window);
    }
    return TRUE;
}

BOOL CALLBACK CollectStatic(HWND child, LPARAM param) {
    auto* texts = reinterpret_cast<std::string*>(param);
    if (_stricmp(ClassName(child).c_str(), "Static") == 0) {
        std::string text = Text(child);
        if (!text.empty()) {
            if (!texts->empty()) {
                texts->push_back('\n');
            }
            texts->append(text);
        }
    }
    return TRUE;
}

} // namespace

std::string Text(HWND window) {
    DWORD_PTR length = 0;
    if (!SendWithTimeout(window, WM_GETTEXTLENGTH, 0, 0, &length)) {
        return {};
    }
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendWithTimeout(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                         &copied)) {
        return {};
    }
    text.resize(copied);
    return text;
}

std::string ClassName(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string ItemText(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    return item ? Text(item) : std::string();
}

std::string StaticTexts(HWND dialog) {
    std::string texts;
    EnumChildWindows(dialog, CollectStatic, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

std::vector<HWND> FindWindows(const WindowQuery& query) {
    std::vector<HWND> found;
    EnumState state{&query, &found};
    EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&state));
    return found;
}

HWND WaitForWindow(const WindowQuery& query, DWORD timeoutMs) {
    HWND window = nullptr;
    WaitUntil(
        [&] {
            std::vector<HWND> found = FindWindows(query);
            window = found.empty() ? nullptr : found.front();
            return window != nullptr;
        },
        timeoutMs);
    if (window) {
        Sync(window);
    }
    return window;
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs) {
    return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeoutMs);
}

bool Sync(HWND window) {
    for (int i = 0; i < 3; ++i) {
        if (!SendWithTimeout(window, WM_NULL, 0, 0)) {
            return false;
        }
    }
    return true;
}

bool Click(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (!button) {
        return false;
    }
    if (!PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                      reinterpret_cast<LPARAM>(button))) {
        return false;
    }
    // The click is handled once the dialog has drained what was sent before; a modal loop it
    // opens may keep the dialog busy, which is fine.
    Sync(dialog);
    return true;
}

bool SendCommand(HWND dialog, int id) {
    if (!PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0)) {
        return false;
    }
    Sync(dialog);
    return true;
}

HWND WaitForMessageBox(DWORD processId, const std::string& text, DWORD timeoutMs) {
    HWND box = AnswerMessageBoxes(
        processId,
        [&](HWND, const std::string& boxText) { return boxText.find(text) != std::string::npos; },
        timeoutMs);
    if (box) {
        Sync(box);
    }
    return box;
}

HWND WaitForDialog(DWORD processId, const std::function<bool(HWND dialog)>& matches,
                   DWORD timeoutMs) {
    HWND found = nullptr;
    WindowQuery dialogs;
    dialogs.processId = processId;
    dialogs.className = "#32770";
    WaitUntil(
        [&] {
            for (HWND window : FindWindows(dialogs)) {
                if (matches(window)) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

HWND WaitForDialogWithControl(DWORD processId, int controlId, DWORD timeoutMs) {
    HWND dialog = WaitForDialog(
        processId, [&](HWND window) { return GetDlgItem(window, controlId) != nullptr; },
        timeoutMs);
    if (dialog) {
        Sync(dialog);
    }
    return dialog;
}

namespace {

void PumpFor(DWORD milliseconds) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
        Sleep(10);
    }
}

} // namespace

KeyHolder::KeyHolder(BYTE virtualKey, const char* keyName, HWND target)
    : key_(virtualKey), name_(keyName) {
    // Without a target the key goes to a window of the robot's own, so that the program under
    // test sees it only through the keyboard state, never as a key message. It is pressed on
    // the display itself (XTEST): Wine aligns its keyboard state with the display's whenever
    // the focus moves, which would let go of a key injected with SendInput.
    if (!target) {
        window_ = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "robot keyboard", WS_POPUP | WS_VISIBLE,
                                  0, 0, 8, 8, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    HWND receiver = target ? target : window_;
    SetForegroundWindow(receiver);
    WaitUntil([&] { return GetForegroundWindow() == receiver; }, 3000);
    PumpFor(200);
    testfs::RunHostProgram(std::string("/usr/bin/xdotool keydown ") + name_);
    DWORD start = GetTickCount();
    while (!IsDown() && GetTickCount() - start < 3000) {
        PumpFor(20);
    }
}

KeyHolder::~KeyHolder() {
    testfs::RunHostProgram(std::string("/usr/bin/xdotool keyup ") + name_);
    PumpFor(50);
    if (window_) {
        DestroyWindow(window_);
    }
}

MouseHolder::MouseHolder(const RECT& rect) {
    window_ = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP | WS_VISIBLE,
                              rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    PumpFor(100);
    const int x = (rect.left + rect.right) / 2;
    const int y = (rect.top + rect.bottom) / 2;
    testfs::RunHostProgram("/usr/bin/xdotool mousemove " + std::to_string(x) + " " +
                           std::to_string(y) + " mousedown 1");
    DWORD start = GetTickCount();
    while (!IsDown() && GetTickCount() - start < 3000) {
        PumpFor(20);
    }
}

MouseHolder::~MouseHolder() {
    testfs::RunHostProgram("/usr/bin/xdotool mouseup 1");
    PumpFor(50);
    DestroyWindow(window_);
}

bool MouseHolder::IsDown() const {
    return (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0;
}

namespace {
struct BusyQuery {
    DWORD processId;
    const char* caption;
    HWND found;
};
BOOL CALLBACK FindByCaption(HWND window, LPARAM param) {
    auto* query = reinterpret_cast<BusyQuery*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char caption[256] = {};
    // Another process's caption is read without asking the window.
    if (pid == query->processId && IsWindowVisible(window) &&
        GetWindowTextA(window, caption, sizeof caption) > 0 &&
        std::strcmp(caption, query->caption) == 0) {
        query->found = window;
        return FALSE;
    }
    return TRUE;
}
} // namespace

HWND FindBusyWindow(DWORD processId, const char* caption) {
    BusyQuery query{processId, caption, nullptr};
    EnumWindows(FindByCaption, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

bool KeyHolder::IsDown() const {
    return (GetAsyncKeyState(key_) & 0x8000) != 0;
}

std::string MessageBoxText(HWND box) {
    return ItemText(box, 0xFFFF);
}

bool SetItemText(HWND dialog, int id, const std::string& text) {
    HWND item = GetDlgItem(dialog, id);
    return item && SendWithTimeout(item, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool IsChecked(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    DWORD_PTR state = 0;
    return item && SendWithTimeout(item, BM_GETCHECK, 0, 0, &state) && state == BST_CHECKED;
}

Process::~Process() {
    if (info_.hProcess) {
        Kill();
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
}

bool Process::Start(const std::string& program, const std::string& arguments,
                    const std::string& workingDir) {
    std::string commandLine = "\"" + program + "\"";
    if (!arguments.empty()) {
        commandLine += " " + arguments;
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    // Wine's process creation has once failed with ERROR_INTERNAL_ERROR on a busy machine for a
    // program that starts every other time: that failure alone is tried again, and said.
    constexpr int kAttempts = 3;
    for (int attempt = 1;; ++attempt) {
        if (CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           workingDir.empty() ? nullptr : workingDir.c_str(), &startup, &info_)) {
            return true;
        }
        const DWORD error = GetLastError();
        std::fprintf(stderr, "cannot start %s: error %lu\n", program.c_str(), error);
        if (error != ERROR_INTERNAL_ERROR || attempt == kAttempts) {
            return false;
        }
    }
}

bool Process::IsRunning() const {
    return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

long Process::Wait(DWORD timeoutMs) {
    if (!info_.hProcess || WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        return -1;
    }
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return static_cast<long>(code);
}

void Process::Kill() {
    if (IsRunning()) {
        TerminateProcess(info_.hProcess, 99);
        WaitForSingleObject(info_.hProcess, 5000);
    }
}

int EndLeftoverProcesses(const std::string& exeName) {
    using Handle = std::unique_ptr<void, decltype(&CloseHandle)>;
    HANDLE taken = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (taken == INVALID_HANDLE_VALUE) {
        return 0;
    }
    const Handle snapshot(taken, CloseHandle);
    int ended = 0;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.get(), &entry); more;
         more = Process32Next(snapshot.get(), &entry)) {
        if (entry.th32ProcessID == GetCurrentProcessId() ||
            lstrcmpiA(entry.szExeFile, exeName.c_str()) != 0) {
            continue;
        }
        const Handle process(
            OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID), CloseHandle);
        if (process && TerminateProcess(process.get(), 99)) {
            WaitForSingleObject(process.get(), 5000);
            ++ended;
        }
    }
    return ended;
}

long RunToEnd(const std::string& program, const std::string& arguments) {
    Process process;
    if (!process.Start(program, arguments)) {
        return -1;
    }
    return process.Wait();
}

} // namespace robot
