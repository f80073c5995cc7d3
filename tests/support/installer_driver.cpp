#include "tests/support/installer_driver.h"

#include "scratch.h"

namespace e2e {

std::string MakeCd(const std::string& name, const CdOptions& options) {
    const std::string sample = testfs::SampleCd();
    const std::string cd = testfs::FreshScratchDir(name);
    testfs::CopyFileOrFail(sample + "\\install.exe", cd + "\\install.exe");
    testfs::MakeDirs(cd + "\\film");
    testfs::CopyFileOrFail(sample + "\\film\\italia.dem", cd + "\\film\\italia.dem");
    testfs::CopyFileOrFail(sample + "\\film\\europa.dem", cd + "\\film\\europa.dem");
    if (options.filmPlayer) {
        testfs::CopyFileOrFail(sample + "\\film\\ziziraz.exe", cd + "\\film\\ziziraz.exe");
    }
    if (options.demoProgram) {
        testfs::MakeDirs(cd + "\\kdemo");
        testfs::CopyFileOrFail(sample + "\\kdemo\\kdemo.exe", cd + "\\kdemo\\kdemo.exe");
    }
    if (!options.noSetvars) {
        if (options.setvars.empty()) {
            testfs::CopyFileOrFail(sample + "\\setvars.inf", cd + "\\setvars.inf");
        } else {
            testfs::WriteFile(cd + "\\setvars.inf", options.setvars);
        }
    }
    return cd;
}

std::string MakeFullCd(const std::string& name) {
    const std::string cd = testfs::FreshScratchDir(name);
    testfs::CopyTree(testfs::SampleCd(), cd);
    return cd;
}

std::string FreshDestination(const std::string& name) {
    const std::string dir = "C:\\korva-e2e\\" + name;
    testfs::RemoveTree(dir);
    testfs::MakeDirs("C:\\korva-e2e");
    return dir;
}

bool InstallerRun::AnswerPathPrompt(const std::string& text) {
    HWND prompt = WaitPathPrompt();
    return prompt && robot::SetItemText(prompt, 1001, text) && robot::Click(prompt, IDOK) &&
           robot::WaitForWindowGone(prompt);
}

bool InstallerRun::ChooseInstallType(int type) {
    HWND dialog = robot::WaitForDialogWithControl(Pid(), 1026);
    return dialog && robot::Click(dialog, 1025 + type);
}

bool InstallerRun::AnswerIconQuestion(int button) {
    HWND box = WaitMessage(kIconQuestion);
    if (!box || robot::MessageBoxText(box) != kIconQuestion || robot::Text(box) != kCoverTitle ||
        !GetDlgItem(box, IDYES) || !GetDlgItem(box, IDNO) || GetDlgItem(box, IDCANCEL)) {
        return false;
    }
    return robot::Click(box, button) && robot::WaitForWindowGone(box);
}

bool InstallerRun::StartEditionAndContinue(int command, bool english) {
    HWND menu = WaitMenu();
    if (!menu || !robot::SendCommand(menu, command)) {
        return false;
    }
    HWND welcome = WaitWelcome();
    if (!welcome) {
        return false;
    }
    if (english) {
        robot::Click(welcome, 1049);
    }
    return robot::Click(welcome, IDOK);
}

bool InstallerRun::Start(const std::string& arguments) {
    return Start(arguments, cdDir_);
}

bool InstallerRun::Start(const std::string& arguments, const std::string& workingDir) {
    return process_.Start(cdDir_ + "\\install.exe", arguments, workingDir);
}

HWND InstallerRun::WaitWindow(const char* title, DWORD timeoutMs) {
    robot::WindowQuery query;
    query.processId = Pid();
    query.title = title;
    return robot::WaitForWindow(query, timeoutMs);
}

size_t InstallerRun::CountWindows(const char* title) {
    robot::WindowQuery query;
    query.processId = Pid();
    query.title = title;
    return robot::FindWindows(query).size();
}

size_t InstallerRun::CountAllWindows() {
    robot::WindowQuery query;
    query.processId = Pid();
    return robot::FindWindows(query).size();
}

bool InstallerRun::EndsWithoutAWindow() {
    bool sawWindow = false;
    long code = -1;
    robot::WaitUntil([&] {
        sawWindow = sawWindow || CountAllWindows() > 0;
        code = ExitCode();
        return code != -1;
    });
    return !sawWindow && code == 0;
}

long InstallerRun::WaitExit(DWORD timeoutMs) {
    long code = process_.Wait(timeoutMs);
    if (code == -1) {
        process_.Kill();
    }
    return code;
}

long InstallerRun::CloseMenuAndWait() {
    HWND menu = WaitMenu();
    if (!menu || !robot::Click(menu, IDCANCEL)) {
        process_.Kill();
        return -1;
    }
    return WaitExit();
}

} // namespace e2e
