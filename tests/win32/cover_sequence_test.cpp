// The cover window's sequence and the main menu's edition start, in-process, with the
// installation engine replaced by a recording stand-in and the real dialogs driven by the
// robot from a second thread.
#include "fake_installation.h"
#include "install/launcher/cover_dialog.h"
#include "install/launcher/main_menu_dialog.h"
#include "scratch.h"
#include "tests/support/ui_thread.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

const char* kCoverTitle = "Installazione di KORVA '98 3.04";
const char* kWelcomeTitle = "KORVA '98";
const char* kMenuTitle = "MENU' PRINCIPALE";

const char* kDoneStart = "L'installazione è terminata.\nFare \"Doppio Click\" sull'icona KORVA '98 "
                         "per utilizzare il programma.\n";
const char* kRestartText =
    "L'installazione di KORVA '98 è terminata.\nATTENZIONE:Con questa versione di Windows 95 è "
    "indispensabile riavviare il sistema per utilizzare il programma KORVA '98.";
const char* kIncompatibleStart =
    "L'installazione e' terminata, ma sono state riscontrate delle possibili incompatibilità tra "
    "la versione di Windows e il programma KORVA' 98.";

// The engine every cover window and menu of these tests is given.
fake::RecordingEngine engine;

void ResetEngine() {
    engine.script = {};
    engine.seen = {};
}

DWORD Self() {
    return GetCurrentProcessId();
}

// Continues the welcome dialog, optionally after choosing English.
bool ContinueWelcome(bool english) {
    HWND welcome = robot::WaitForWindow(OwnWindow(kWelcomeTitle));
    if (!welcome) {
        return false;
    }
    if (english) {
        robot::Click(welcome, 1049);
    }
    return robot::Click(welcome, IDOK);
}

struct FinalMessageCase {
    int doneMessageMode;
    int incompatibleWindows;
    const char* expectedStart;
};

class CoverSequence : public ::testing::TestWithParam<FinalMessageCase> {
protected:
    void SetUp() override { ResetEngine(); }
};

} // namespace

TEST_P(CoverSequence, EndsWithTheMessageTheCompletionFlagsChoose) {
    const FinalMessageCase& c = GetParam();
    engine.script.doneMessageMode = c.doneMessageMode;
    engine.script.incompatibleWindows = c.incompatibleWindows;
    std::string text, caption;
    HWND owner = nullptr, cover = nullptr;
    INT_PTR result = 0;
    RunWithRobot(
        [&] {
            CCoverDlg dialog(engine);
            result = dialog.DoModal();
        },
        [&] {
            cover = robot::WaitForWindow(OwnWindow(kCoverTitle));
            ASSERT_TRUE(ContinueWelcome(false));
            HWND box = robot::WaitForMessageBox(Self(), "terminata");
            ASSERT_NE(box, nullptr);
            text = robot::MessageBoxText(box);
            caption = robot::Text(box);
            owner = GetWindow(box, GW_OWNER);
            robot::Click(box, IDOK);
        });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(engine.seen.runs, 1);
    EXPECT_EQ(text.rfind(c.expectedStart, 0), 0u) << text;
    EXPECT_EQ(caption, "Installazione di KORVA '98 3.04");
    EXPECT_EQ(owner, cover);
}

INSTANTIATE_TEST_SUITE_P(Flags, CoverSequence,
                         ::testing::Values(FinalMessageCase{1, 0, kDoneStart},
                                           FinalMessageCase{1, 1, kDoneStart},
                                           FinalMessageCase{0, 0, kRestartText},
                                           FinalMessageCase{0, 1, kIncompatibleStart}),
                         [](const ::testing::TestParamInfo<FinalMessageCase>& info) {
                             return "done" + std::to_string(info.param.doneMessageMode) +
                                    "_incompatible" +
                                    std::to_string(info.param.incompatibleWindows);
                         });

TEST(CoverLanguage, TheWelcomeChoiceReachesTheInstallation) {
    for (bool english : {false, true}) {
        ResetEngine();
        RunWithRobot([] { CCoverDlg(engine).DoModal(); },
                     [&] {
                         ASSERT_TRUE(ContinueWelcome(english));
                         HWND box = robot::WaitForMessageBox(Self(), "terminata");
                         ASSERT_NE(box, nullptr);
                         robot::Click(box, IDOK);
                     });
        EXPECT_EQ(engine.seen.language, english ? 2 : 1);
    }
}

TEST(CoverFailure, AFileErrorEndsTheSequenceSilentlyAndTheCoverStaysUntilEscape) {
    ResetEngine();
    engine.script.throwFileError = true;
    INT_PTR result = 0;
    bool coverStayed = false;
    size_t messageBoxes = 99;
    RunWithRobot([&] { result = CCoverDlg(engine).DoModal(); },
                 [&] {
                     HWND cover = robot::WaitForWindow(OwnWindow(kCoverTitle));
                     ASSERT_TRUE(ContinueWelcome(false));
                     // The run has begun (and thrown); once the cover answers again its paint
                     // handler has ended, or is showing whatever it shows.
                     ASSERT_TRUE(robot::WaitUntil([] { return engine.seen.runs == 1; }));
                     robot::Sync(cover);
                     coverStayed = IsWindowVisible(cover) != 0;
                     robot::WindowQuery dialogs;
                     dialogs.processId = Self();
                     dialogs.className = "#32770";
                     dialogs.exclude = cover;
                     messageBoxes = robot::FindWindows(dialogs).size();
                     PostMessageA(cover, WM_KEYDOWN, VK_ESCAPE, 0);
                     robot::SendCommand(cover, IDCANCEL);
                 });
    EXPECT_EQ(engine.seen.runs, 1);
    EXPECT_TRUE(coverStayed);
    EXPECT_EQ(messageBoxes, 0u);
    EXPECT_EQ(result, IDCANCEL);
}

TEST(CoverRemoval, RemovalModeRunsTheRemovalInsteadOfTheInstallation) {
    ResetEngine();
    std::string text;
    RunWithRobot(
        [] {
            CCoverDlg cover(engine);
            cover.removeMode = 1;
            cover.DoModal();
        },
        [&] {
            ASSERT_TRUE(ContinueWelcome(false));
            HWND box = robot::WaitForMessageBox(Self(), "rimosso");
            ASSERT_NE(box, nullptr);
            text = robot::MessageBoxText(box);
            robot::Click(box, IDOK);
        });
    EXPECT_EQ(engine.seen.removals, 1);
    EXPECT_EQ(engine.seen.runs, 0);
    EXPECT_EQ(text, "KORVA '98 è stato rimosso dal sistema.");
}

namespace {

// Starts an edition from the menu with the given setvars.inf (none when empty) and returns
// what the installation saw.
fake::InstallationSeen StartEditionFromMenu(int command, const std::string& setvars,
                                            std::string* messageSeen = nullptr) {
    ResetEngine();
    const std::string cd = testfs::FreshScratchDir("menu-edition");
    if (!setvars.empty()) {
        testfs::WriteFile(cd + "\\setvars.inf", setvars);
    }
    RunWithRobot(
        [&] {
            CMainMenuDlg menu(engine);
            korva::CopyToField(menu.installerDir, cd);
            menu.DoModal();
        },
        [&] {
            HWND menu = robot::WaitForWindow(OwnWindow(kMenuTitle));
            ASSERT_NE(menu, nullptr);
            PostMessageA(menu, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
            if (messageSeen) {
                HWND box = robot::WaitForMessageBox(Self(), "troppo lungo");
                ASSERT_NE(box, nullptr);
                *messageSeen = robot::MessageBoxText(box);
                robot::Click(box, IDOK);
            } else {
                ASSERT_TRUE(ContinueWelcome(false));
                HWND box = robot::WaitForMessageBox(Self(), "terminata");
                ASSERT_NE(box, nullptr);
                robot::Click(box, IDOK);
            }
            robot::Sync(menu);
            robot::Click(menu, IDCANCEL);
        });
    fake::InstallationSeen result = engine.seen;
    result.presetSourceDir = result.runs ? result.presetSourceDir : std::string("(no run)");
    if (result.runs) {
        // Relative to the scratch CD so that the expectations read plainly.
        if (result.presetSourceDir.rfind(cd, 0) == 0) {
            result.presetSourceDir = "<cd>" + result.presetSourceDir.substr(cd.size());
        }
    }
    return result;
}

} // namespace

TEST(MenuEdition, FirstDirDecidesThePresetSourceOfAnEditionInstall) {
    auto seen = StartEditionFromMenu(1061, "[italia]\r\nFirstDir=\\cd_ita\r\n");
    EXPECT_EQ(seen.presetSourceDir, "<cd>\\cd_ita");
    EXPECT_EQ(seen.editionInstall, 1);

    // A bare directory name, given or the edition's default, is the CD's too.
    seen = StartEditionFromMenu(1061, "[italia]\r\nFirstDir=cd_ita\r\n");
    EXPECT_EQ(seen.presetSourceDir, "<cd>\\cd_ita");

    seen = StartEditionFromMenu(1064, "");
    EXPECT_EQ(seen.presetSourceDir, "<cd>\\cd_roma");

    seen = StartEditionFromMenu(1063, "[torino]\r\nPresence=no\r\n");
    EXPECT_EQ(seen.presetSourceDir, "<cd>\\cd_tori");
}

TEST(MenuEdition, AnOverLongSourceIsRefusedWithAMessage) {
    std::string message;
    const std::string firstDir = "\\" + std::string(300, 'd');
    auto seen = StartEditionFromMenu(1061, "[italia]\r\nFirstDir=" + firstDir + "\r\n", &message);
    EXPECT_EQ(seen.runs, 0);
    EXPECT_NE(message.find("è troppo lungo"), std::string::npos) << message;
}
