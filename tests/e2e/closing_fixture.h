// The fixture of the closing-step and removal scenarios: a fresh sample CD and destination,
// no program group, no common-controls copy and no restart instruction before and after
// each scenario, and the library Wine shows to install.exe.
//
// Wine's own common-controls library exports "DllGetVersion". An old library is shown to the
// installer by letting Wine load the sample CD's old stand-in "comctl32.dll", which lies
// beside install.exe, instead of its own (a DLL override for install.exe only).
#pragma once

#include "dll_override.h"
#include "tests/support/installation_fixture.h"
#include "tests/support/shell_state.h"

#include <gtest/gtest.h>

namespace e2e {

inline const char* kDoneFirstLines =
    "L'installazione è terminata.\nFare \"Doppio Click\" sull'icona "
    "KORVA '98 per utilizzare il programma.\n";
inline const char* kRestartText =
    "L'installazione di KORVA '98 è terminata.\nATTENZIONE:Con questa "
    "versione di Windows 95 è indispensabile riavviare il sistema per "
    "utilizzare il programma KORVA '98.";
inline const char* kIncompatibleStart =
    "L'installazione e' terminata, ma sono state riscontrate delle possibili incompatibilità "
    "tra la versione di Windows e il programma KORVA' 98.";

inline const std::vector<std::string> kAllItems = {"Edizioni Korva.lnk", "Guida.lnk",
                                                   "Installazioni Korva.lnk", "KORVA '98 3.04.lnk",
                                                   "Rimozione di KORVA.lnk"};

inline bool SamePath(const std::string& a, const std::string& b) {
    return _stricmp(a.c_str(), b.c_str()) == 0;
}

enum class Library { Platform, Old, Unloadable };

class Closing : public Installation {
protected:
    void SetUp() override {
        Installation::SetUp();
        RemoveGroup();
        CleanCommonControls();
    }
    void TearDown() override {
        CloseGroupWindowOnceShown();
        RemoveGroup();
        CleanCommonControls();
        Installation::TearDown();
    }

    void UseLibrary(Library library) {
        if (library == Library::Old) {
            ASSERT_TRUE(testfs::Exists(cd_ + "\\comctl32.dll"));
            ASSERT_TRUE(overrides_.Set("comctl32", "native"));
        } else if (library == Library::Unloadable) {
            ASSERT_TRUE(overrides_.Set("comctl32", ""));
        }
    }

    // An Italia edition install of the given type up to the program group question, answered
    // with `iconAnswer`; the final message is left to the caller. `again`: over an earlier
    // installation the second area (installed as recommended) finds its network and asks
    // whether to overwrite it, and the answer is no.
    void InstallUpToTheQuestion(InstallerRun& run, int iconAnswer, bool again = false,
                                int type = 1) {
        ASSERT_TRUE(run.Start(""));
        ASSERT_TRUE(run.StartEditionAndContinue(kItaliaCommand));
        ASSERT_TRUE(run.AnswerPathPrompt(destination_));
        ASSERT_TRUE(run.ChooseInstallType(type));
        if (again) {
            HWND network = run.WaitMessage("rete stradale precedente");
            ASSERT_NE(network, nullptr) << Shown(run.Pid());
            robot::Click(network, IDNO);
        }
        ASSERT_TRUE(run.AnswerIconQuestion(iconAnswer)) << Shown(run.Pid());
        groupWindowExpected_ = groupWindowExpected_ || iconAnswer == IDYES;
    }

    // After a yes the shell opens the group's folder window some time later: waits for it
    // and closes it, so that it cannot turn up in a later test.
    void CloseGroupWindowOnceShown() {
        if (groupWindowExpected_) {
            WaitForFolderWindow(5000);
            groupWindowExpected_ = false;
        }
        CloseFolderWindows();
    }

    // The texts of the program's windows, for failure messages.
    static std::string Shown(DWORD pid) {
        robot::WindowQuery query;
        query.processId = pid;
        std::string texts;
        for (HWND window : robot::FindWindows(query)) {
            texts.append("[").append(robot::Text(window)).append(": ");
            texts.append(robot::StaticTexts(window)).append("] ");
        }
        return texts;
    }

    // The final message, checked for its caption and OK button, and the end of the program.
    std::string FinalMessage(InstallerRun& run, const std::string& begins) {
        HWND box = run.WaitMessage(begins);
        if (!box) {
            run.CloseMenuAndWait();
            return "<no final message>";
        }
        std::string text = robot::MessageBoxText(box);
        EXPECT_EQ(robot::Text(box), kCoverTitle);
        EXPECT_NE(GetDlgItem(box, IDOK), nullptr);
        EXPECT_EQ(GetDlgItem(box, IDCANCEL), nullptr);
        robot::Click(box, IDOK);
        EXPECT_EQ(run.CloseMenuAndWait(), 0);
        return text;
    }

    std::vector<std::string> ItemsOnceSettled(const std::vector<std::string>& expected) {
        std::vector<std::string> items;
        robot::WaitUntil([&] { return (items = GroupItems()) == expected; }, 5000);
        return items;
    }

    winetest::ScopedDllOverrides overrides_{"install.exe"};
    bool groupWindowExpected_ = false;
};

} // namespace e2e
