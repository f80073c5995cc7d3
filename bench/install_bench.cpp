// Times one complete installation from a CD under Wine: from the click on "Installazione
// completa" to the final message. Prints "install_ms <n>".
// Usage: install_bench <CD directory> <destination>
#include "installer_driver.h"

#include <cstdio>

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
    robot::WindowQuery boxes;
    boxes.processId = run.Pid();
    boxes.className = "#32770";
    robot::WaitUntil(
        [&] {
            for (HWND window : robot::FindWindows(boxes)) {
                const std::string text = robot::MessageBoxText(window);
                if (text.rfind("Creazione dell'icona", 0) == 0) {
                    robot::Click(window, IDNO);
                } else if (text.find("pazio") != std::string::npos && GetDlgItem(window, IDIGNORE)) {
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
