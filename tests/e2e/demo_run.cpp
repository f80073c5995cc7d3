// Drives one complete installation from the sample CD through the installer's real dialogs
// and saves a screenshot at each step. Used by ./run when there is no display.
// Usage: demo_run <sample CD directory> <output directory>
#include "message_boxes.h"
#include "robot.h"
#include "screen_capture.h"

#include <cstdio>
#include <string>

namespace {

std::string outputDir;
int shotNumber = 0;

void Shot(const char* name) {
    char file[64];
    std::snprintf(file, sizeof file, "\\%02d-%s.bmp", ++shotNumber, name);
    robot::SaveScreenshot(outputDir + file);
    std::printf("demo: screenshot %s\n", file + 1);
}

HWND Wait(DWORD pid, const char* title) {
    robot::WindowQuery query;
    query.processId = pid;
    query.title = title;
    HWND window = robot::WaitForWindow(query);
    if (!window) {
        std::printf("demo: the window \"%s\" did not appear\n", title);
    }
    return window;
}

int Fail(robot::Process& installer) {
    Shot("failure");
    installer.Kill();
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: demo_run <sample CD directory> <output directory>\n");
        return 2;
    }
    const std::string cd = argv[1];
    outputDir = argv[2];

    robot::Process installer;
    if (!installer.Start(cd + "\\install.exe", "", cd)) {
        std::printf("demo: cannot start %s\\install.exe\n", cd.c_str());
        return 1;
    }
    const DWORD pid = installer.Id();

    HWND menu = Wait(pid, "MENU' PRINCIPALE");
    if (!menu) {
        return Fail(installer);
    }
    Shot("menu");
    std::printf("demo: installing the Italia edition\n");
    robot::Click(menu, 1061);

    HWND welcome = Wait(pid, "KORVA '98");
    if (!welcome) {
        return Fail(installer);
    }
    Shot("welcome");
    robot::Click(welcome, IDOK);

    HWND destination = Wait(pid, "Installazione di KORVA '98");
    if (!destination) {
        return Fail(installer);
    }
    std::printf("demo: destination %s\n", robot::ItemText(destination, 1001).c_str());
    Shot("destination");
    robot::Click(destination, IDOK);

    HWND type = robot::WaitForDialogWithControl(pid, 1026);
    if (!type) {
        std::printf("demo: the install type dialog did not appear\n");
        return Fail(installer);
    }
    Shot("install-type");
    std::printf("demo: complete installation\n");
    robot::Click(type, 1028);

    // A completed run asks whether to create the program group: yes.
    HWND question = robot::WaitForMessageBox(pid, "Creazione dell'icona KORVA '98 ?", 120000);
    if (!question) {
        std::printf("demo: the program group question did not appear\n");
        return Fail(installer);
    }
    Shot("program-group-question");
    robot::Click(question, IDYES);
    robot::WaitForWindowGone(question);

    // The run ends with one message box owned by the cover window.
    robot::WindowQuery cover;
    cover.processId = pid;
    cover.title = "Installazione di KORVA '98 3.04";
    HWND coverWindow = robot::WaitForWindow(cover);
    HWND finalBox = robot::AnswerMessageBoxes(pid, [&](HWND box, const std::string& text) {
        return box != coverWindow && box != menu && !text.empty();
    });
    if (!finalBox) {
        std::printf("demo: no final message appeared\n");
        return Fail(installer);
    }
    robot::Sync(finalBox);
    std::printf("demo: final message: %s\n", robot::MessageBoxText(finalBox).c_str());
    Shot("final-message");
    robot::Click(finalBox, IDOK);

    robot::WaitForWindowGone(coverWindow);
    robot::Click(menu, IDCANCEL);
    long code = installer.Wait();
    std::printf("demo: the installer ended with code %ld\n", code);
    return code == 0 ? 0 : 1;
}
