// Times one complete installation from a CD under Wine: from the click on "Installazione
// completa" to the final message. Prints "install_ms <n>".
// Usage: install_bench <CD directory> <destination>
#include "installer_driver.h"

#include <cstdio>

namespace {

// A message box's text read without sending the installer a message: it is busy copying,
// and a message sent to it would have to wait for it (and make it stop to answer).
std::string QuietMessageBoxText(HWND box) {
    HWND text = GetDlgItem(box, 0xFFFF);
    char buffer[512] = {};
    if (!text || !GetWindowTextA(text, buffer, sizeof buffer)) {
        return {};
    }
    return buffer;
}

double MillisecondsSince(const LARGE_INTEGER& start, const LARGE_INTEGER& frequency) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: install_bench <CD directory> <destination>\n");
        return 2;
    }
    e2e::InstallerRun run(argv[1]);
    if (!run.Start("") || !run.StartEditionAndContinue(e2e::kItaliaCommand) ||
        !run.AnswerPathPrompt(argv[2])) {
        std::fprintf(stderr, "install_bench: the installer did not reach the install type\n");
        return 1;
    }
    HWND type = robot::WaitForDialogWithControl(run.Pid(), 1028);
    if (!type) {
        return 1;
    }
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    PostMessageA(type, WM_COMMAND, MAKEWPARAM(1028, BN_CLICKED), 0);
    // On large volumes the free space seen in 32 bits can look too small: go on regardless,
    // as a user would with Ignore. The program-group question is declined.
    HWND box = nullptr;
    std::string lastSeen;
    robot::WindowQuery boxes;
    boxes.processId = run.Pid();
    boxes.className = "#32770";
    robot::WaitUntil(
        [&] {
            for (HWND window : robot::FindWindows(boxes)) {
                const std::string text = QuietMessageBoxText(window);
                if (!text.empty() && text != lastSeen) {
                    // When each question came: where the time of a run goes.
                    lastSeen = text;
                    std::fprintf(stderr, "%8.0f ms  %.60s\n", MillisecondsSince(start, frequency),
                                 text.c_str());
                }
                if (text.rfind("Creazione dell'icona", 0) == 0) {
                    robot::Click(window, IDNO);
                } else if (text.find("pazio") != std::string::npos &&
                           GetDlgItem(window, IDIGNORE)) {
                    robot::Click(window, IDIGNORE);
                } else if (text.rfind("L'installazione", 0) == 0) {
                    box = window;
                    return true;
                }
            }
            return false;
        },
        30 * 60 * 1000);
    QueryPerformanceCounter(&end);
    if (!box) {
        std::fprintf(stderr, "install_bench: no final message\n");
        return 1;
    }
    std::printf("install_ms %.0f\n",
                static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart);
    robot::Click(box, IDOK);
    run.CloseMenuAndWait();
    return 0;
}
