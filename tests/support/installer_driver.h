// Drives the real install.exe through its windows: a copy of the sample CD per test, the
// program started from it, and the windows it shows found by caption and text.
#pragma once

#include "robot.h"

#include <string>

namespace e2e {

constexpr const char* kMenuTitle = "MENU' PRINCIPALE";
constexpr const char* kWelcomeTitle = "KORVA '98";
constexpr const char* kCoverTitle = "Installazione di KORVA '98 3.04";
constexpr const char* kPromptTitle = "Installazione di KORVA '98";
constexpr int kItaliaCommand = 1061;
constexpr const char* kIconQuestion = "Creazione dell'icona KORVA '98 ?";

struct CdOptions {
    bool filmPlayer = true;
    bool demoProgram = true;
    // Contents of setvars.inf; the sample CD's own file when empty, none when `noSetvars`.
    std::string setvars;
    bool noSetvars = false;
};

// A copy of the sample CD's launcher files in a fresh scratch directory; returns its path.
std::string MakeCd(const std::string& name, const CdOptions& options);
// A copy of the whole sample CD in a fresh scratch directory; returns its path.
std::string MakeFullCd(const std::string& name);
// A fresh, empty destination for an installation on drive C: of the prefix.
std::string FreshDestination(const std::string& name);

class InstallerRun {
public:
    explicit InstallerRun(std::string cdDir) : cdDir_(std::move(cdDir)) {}

    // Starts install.exe of the CD with the command-line text `arguments`, in the CD's
    // directory or in `workingDir`.
    bool Start(const std::string& arguments);
    bool Start(const std::string& arguments, const std::string& workingDir);
    DWORD Pid() const { return process_.Id(); }

    HWND WaitWindow(const char* title, DWORD timeoutMs = robot::kDefaultTimeoutMs);
    HWND WaitMenu() { return WaitWindow(kMenuTitle); }
    HWND WaitWelcome() { return WaitWindow(kWelcomeTitle); }
    HWND WaitMessage(const std::string& text) { return robot::WaitForMessageBox(Pid(), text); }
    HWND WaitPathPrompt() { return WaitWindow(kPromptTitle); }
    // Types into the open path prompt and continues; false when no prompt appeared.
    bool AnswerPathPrompt(const std::string& text);
    // Clicks the button of an install type (1, 2 or 3) in the install-type dialog.
    bool ChooseInstallType(int type);
    // Answers message 6, the question of a completed run whether to create the program
    // group, with IDYES or IDNO; false when the question did not come as it should.
    bool AnswerIconQuestion(int button);
    // Starts an edition from the menu and continues the welcome screen.
    bool StartEditionAndContinue(int command, bool english = false);
    // Visible top-level windows of the program with that caption.
    size_t CountWindows(const char* title);
    // Visible top-level windows of the program of any kind.
    size_t CountAllWindows();

    // True when the program ended with code 0 without ever showing a window.
    bool EndsWithoutAWindow();
    // The exit code once the program has ended, -1 while it runs.
    long ExitCode() { return process_.Wait(0); }
    // Waits for the program to end; -1 when it did not end in time (it is then killed).
    long WaitExit(DWORD timeoutMs = robot::kDefaultTimeoutMs);
    // Closes the main menu with "Esci" and waits for the end of the program.
    long CloseMenuAndWait();

    const std::string& CdDir() const { return cdDir_; }

private:
    std::string cdDir_;
    robot::Process process_;
};

} // namespace e2e
