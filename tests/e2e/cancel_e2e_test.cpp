// Cancelling a running installation with the keyboard. These scenarios hold a key down on
// the shared display, so they run alone.
#include "fault_checks.h"
#include "installation_fixture.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace e2e;

TEST_F(Installation, EscapeHeldDuringCopyingAbandonsAfterTheCurrentFile) {
    InstallerRun run(cd_);
    ASSERT_TRUE(run.Start(""));
    ASSERT_TRUE(run.StartEditionAndContinue(kItaliaCommand));
    ASSERT_TRUE(run.AnswerPathPrompt(destination_));
    HWND typeDialog = robot::WaitForDialogWithControl(run.Pid(), 1026);
    ASSERT_NE(typeDialog, nullptr);
    {
        // Escape is down from before the copying starts: the first cancel poll, after the
        // first file of the first polled group, ends the run.
        robot::KeyHolder escape(VK_ESCAPE, "Escape");
        ASSERT_TRUE(escape.IsDown());
        PostMessageA(typeDialog, WM_COMMAND, MAKEWPARAM(1028, BN_CLICKED), 0);
        HWND box = run.WaitMessage(kNotCompletedText);
        EXPECT_NE(box, nullptr);
        if (box) {
            robot::Click(box, IDOK);
        }
    }
    size_t copied = 0;
    InstallExpectation e = Expect(3);
    EXPECT_EQ(Joined(CheckCopiedPrefix(e, copied)), "");
    // The three program files (not polled) and the first picture.
    EXPECT_EQ(copied, 4u);
    // Nothing of the settings is written before an area is complete.
    EXPECT_FALSE(testfs::Exists(testfs::KorvaIniPath()));
    EXPECT_EQ(run.CloseMenuAndWait(), 0);
}

TEST_F(Installation, CancelAtRandomPointsLeavesCompleteFilesAndASecondRunWorks) {
    const unsigned seed = GetTickCount();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::srand(seed);
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD delay = static_cast<DWORD>(std::rand() % 150);
        SCOPED_TRACE("Annulla held after " + std::to_string(delay) + " ms");
        testfs::RemoveTree(destination_);
        testfs::DeleteFileIfAny(testfs::KorvaIniPath());
        InstallerRun run(cd_);
        ASSERT_TRUE(run.Start(""));
        ASSERT_TRUE(run.StartEditionAndContinue(kItaliaCommand));
        ASSERT_TRUE(run.AnswerPathPrompt(destination_));
        ASSERT_TRUE(run.ChooseInstallType(3));
        Sleep(delay);
        // The user holds the mouse on the progress window's "Annulla" while files are copied.
        std::unique_ptr<robot::MouseHolder> hold;
        robot::WaitUntil(
            [&] {
                HWND progress = robot::FindBusyWindow(run.Pid(), "Trasferimento");
                RECT button;
                if (progress && GetWindowRect(GetDlgItem(progress, IDCANCEL), &button)) {
                    hold = std::make_unique<robot::MouseHolder>(button);
                    return true;
                }
                return run.ExitCode() != -1 ||
                       !robot::FindWindows({run.Pid(), "", "#32770", "L'installazione", nullptr})
                            .empty();
            },
            5000);
        std::string final;
        robot::WindowQuery boxes;
        boxes.processId = run.Pid();
        boxes.className = "#32770";
        robot::WaitUntil([&] {
            for (HWND window : robot::FindWindows(boxes)) {
                const std::string text = robot::MessageBoxText(window);
                if (text.rfind("Creazione dell'icona", 0) == 0) {
                    robot::Click(window, IDNO);
                } else if (text.rfind("L'installazione", 0) == 0) {
                    final = text;
                    return true;
                }
            }
            return false;
        });
        hold.reset();
        HWND box = run.WaitMessage("L'installazione");
        if (box) {
            robot::Click(box, IDOK);
        }
        EXPECT_EQ(run.CloseMenuAndWait(), 0);
        InstallExpectation e = Expect(3);
        if (final == kNotCompletedText) {
            size_t copied = 0;
            EXPECT_EQ(Joined(CheckCopiedPrefix(e, copied)), "");
            std::printf("after %lu ms: cancelled with %zu of %zu files copied\n", delay, copied,
                        PlannedCopies(e).size());
        } else {
            std::printf("after %lu ms: the installation had finished\n", delay);
            EXPECT_EQ(final.rfind(kDoneText, 0), 0u) << final;
            EXPECT_EQ(Joined(CompareInstalledTree(e)), "");
        }
        if (testfs::Exists(testfs::KorvaIniPath())) {
            EXPECT_EQ(IniProblems(testfs::KorvaIniPath()), "");
        }
    }
    testfs::RemoveTree(destination_);
    testfs::DeleteFileIfAny(testfs::KorvaIniPath());
    InstallerRun again(cd_);
    EXPECT_EQ(InstallItalia(again, 3).rfind(kDoneText, 0), 0u);
    EXPECT_EQ(Joined(CompareInstalledTree(Expect(3))), "");
}
