// Times one complete installation from a CD under Wine: from the click on "Installazione
// completa" to the final message. Prints "install_ms <n>" and, given the Linux process id of
// Wine's server, "cpu_ms <n>": processor time of the installer and the server over that time.
// Usage: install_bench [--server-pid <pid>] <CD directory> <destination>
#include "bench_report.h"
#include "tests/support/installer_driver.h"
#include "processor_clock.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

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

} // namespace

int main(int argc, char** argv) {
    unsigned long serverPid = 0;
    if (argc == 5 && std::strcmp(argv[1], "--server-pid") == 0) {
        serverPid = std::strtoul(argv[2], nullptr, 10);
        argv += 2;
        argc -= 2;
    }
    if (argc != 3) {
        std::fprintf(stderr, "usage: install_bench [--server-pid <pid>] <CD directory> "
                             "<destination>\n");
        return 2;
    }
    const std::string cd = argv[1];
    e2e::InstallerRun run(cd);
    if (!run.Start("") || !run.StartEditionAndContinue(e2e::kItaliaCommand) ||
        !run.AnswerPathPrompt(argv[2])) {
        std::fprintf(stderr, "install_bench: the installer did not reach the install type\n");
        return 1;
    }
    HWND type = robot::WaitForDialogWithControl(run.Pid(), 1028);
    if (!type) {
        return 1;
    }
    bench::ProcessorClock cpu;
    if (serverPid != 0 && !(cpu.WatchServer(serverPid) && cpu.WatchProgram(cd + "\\install.exe"))) {
        std::fprintf(stderr, "install_bench: no processor time of the installer or the server\n");
    }
    cpu.Start();
    const int64_t start = bench::MicrosecondsNow();
    auto millisecondsSinceStart = [&] { return (bench::MicrosecondsNow() - start) / 1000.0; };
    PostMessageA(type, WM_COMMAND, MAKEWPARAM(1028, BN_CLICKED), 0);
    // On large volumes the free space seen in 32 bits can look too small: go on regardless,
    // as a user would with Ignore. The program-group question is declined.
    HWND box = nullptr;
    std::string lastSeen;
    HWND progress = nullptr;
    bool progressWasShown = false;
    robot::WindowQuery boxes;
    boxes.processId = run.Pid();
    boxes.className = "#32770";
    // One look at every window of the installer; true when the final message is up.
    auto lookAtWindows = [&] {
        bool progressShown = false;
        for (HWND window : robot::FindWindows(boxes)) {
            char title[64] = {};
            GetWindowTextA(window, title, sizeof title);
            if (std::strcmp(title, "Trasferimento") == 0 && IsWindowVisible(window)) {
                progressShown = true;
                progress = window;
            }
            const std::string text = QuietMessageBoxText(window);
            if (!text.empty() && text != lastSeen) {
                // When each question came: where the time of a run goes.
                lastSeen = text;
                std::fprintf(stderr, "%8.0f ms  %.60s\n", millisecondsSinceStart(), text.c_str());
            }
            if (text.rfind("Creazione dell'icona", 0) == 0) {
                robot::Click(window, IDNO);
            } else if (text.find("pazio") != std::string::npos && GetDlgItem(window, IDIGNORE)) {
                robot::Click(window, IDIGNORE);
            } else if (text.rfind("L'installazione", 0) == 0) {
                box = window;
                return true;
            }
        }
        if (progressShown != progressWasShown) {
            progressWasShown = progressShown;
            std::fprintf(stderr, "%8.0f ms  progress window %s\n", millisecondsSinceStart(),
                         progressShown ? "shown" : "gone");
        }
        return false;
    };
    // While the progress window is up the installer copies, and every look at its windows
    // costs calls to Wine's server, which the copy shares: then only that window is watched
    // every 20 ms, with a whole look every 200 ms for a question asked over it. Otherwise a
    // whole look every 5 ms, so that no question waits long for its answer.
    const DWORD begun = GetTickCount();
    DWORD lastWholeLook = begun;
    for (;;) {
        const DWORD now = GetTickCount();
        if (now - begun > 30 * 60 * 1000) {
            break;
        }
        const bool copying = progress && IsWindowVisible(progress);
        if (!copying || now - lastWholeLook >= 200) {
            lastWholeLook = now;
            if (lookAtWindows()) {
                break;
            }
        }
        Sleep(copying ? 20 : 5);
    }
    const double elapsedMs = millisecondsSinceStart();
    if (!box) {
        std::fprintf(stderr, "install_bench: no final message\n");
        return 1;
    }
    std::printf("install_ms %.0f\n", elapsedMs);
    cpu.Print();
    robot::Click(box, IDOK);
    run.CloseMenuAndWait();
    return 0;
}
