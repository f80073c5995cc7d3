// Cancelling a running installation with the keyboard. These scenarios hold a key down on
// the shared display, so they run alone.
#include "tests/support/fault_checks.h"
#include "tests/support/installation_fixture.h"
#include "message_boxes.h"
#include "test_seed.h"

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
    InstallExpectation e = Expect(3);
    size_t copied = 0;
    {
        // Escape is down from before the copying starts: the first cancel poll, after the
        // first file of the first polled group, ends the run. The closing message waits until
        // the key is let go.
        robot::KeyHolder escape(VK_ESCAPE, "Escape");
        ASSERT_TRUE(escape.IsDown());
        PostMessageA(typeDialog, WM_COMMAND, MAKEWPARAM(1028, BN_CLICKED), 0);
        EXPECT_TRUE(robot::WaitUntil([&] {
            CheckCopiedPrefix(e, copied);
            return copied >= 4;
        }));
    }
    HWND box = run.WaitMessage(kNotCompletedText);
    EXPECT_NE(box, nullptr);
    if (box) {
        robot::Click(box, IDOK);
    }
    EXPECT_EQ(Joined(CheckCopiedPrefix(e, copied)), "");
    // The three program files (not polled) and the first picture.
    EXPECT_EQ(copied, 4u);
    // Nothing of the settings is written before an area is complete.
    EXPECT_FALSE(testfs::Exists(testfs::KorvaIniPath()));
    EXPECT_EQ(run.CloseMenuAndWait(), 0);
}

TEST_F(Installation, EscapeHeldOverTheInstallerDoesNotAnswerTheClosingMessage) {
    // An immutable program file at the destination stops the copy at a question: there the
    // key is pressed on the display over the installer's own window, and held.
    testfs::MakeDirs(destination_);
    testfs::WriteFile(destination_ + "\\korva.hlp", "an older help file");
    testfs::ScopedReadOnly locked(destination_ + "\\korva.hlp");
    InstallerRun run(cd_);
    ASSERT_TRUE(run.Start(""));
    ASSERT_TRUE(run.StartEditionAndContinue(kItaliaCommand));
    ASSERT_TRUE(run.AnswerPathPrompt(destination_));
    ASSERT_TRUE(run.ChooseInstallType(3));
    HWND refusal = run.WaitMessage("korva.hlp");
    ASSERT_NE(refusal, nullptr);
    const std::string text = robot::MessageBoxText(refusal);
    EXPECT_EQ(text, "Impossibile scrivere \"" + destination_ +
                        "\\korva.hlp\" sul disco di destinazione: la destinazione è protetta da "
                        "scrittura.  Risolvere il problema e riprovare.");
    HWND progress = robot::FindBusyWindow(run.Pid(), "Trasferimento");
    ASSERT_NE(progress, nullptr);
    {
        robot::KeyHolder escape(VK_ESCAPE, "Escape", progress);
        ASSERT_TRUE(escape.IsDown());
        // Ignore: the copy goes on and the first cancel poll sees Escape. The user keeps it
        // down a while: the display repeats it into the installer's queue.
        robot::Click(refusal, IDIGNORE);
        Sleep(1500);
    }
    HWND box = run.WaitMessage(kNotCompletedText);
    ASSERT_NE(box, nullptr);
    // Once the installer has taken in everything queued, the message is still there.
    EXPECT_TRUE(robot::Sync(box));
    EXPECT_TRUE(robot::Sync(box));
    EXPECT_TRUE(IsWindowVisible(box));
    EXPECT_EQ(robot::MessageBoxText(box), kNotCompletedText);
    robot::Click(box, IDOK);
    EXPECT_TRUE(robot::WaitForWindowGone(box));
    EXPECT_EQ(run.CloseMenuAndWait(), 0);
    EXPECT_EQ(testfs::ReadFile(destination_ + "\\korva.hlp"), "an older help file");
    // Stopped at the first cancel poll, after the first picture: no settings were written.
    EXPECT_FALSE(testfs::Exists(testfs::KorvaIniPath()));
}

TEST_F(Installation, CancelAtRandomPointsLeavesCompleteFilesAndASecondRunWorks) {
    const unsigned seed = testseed::Seed();
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
        robot::AnswerMessageBoxes(run.Pid(), [&](HWND box, const std::string& text) {
            if (text.rfind("Creazione dell'icona", 0) == 0) {
                robot::Click(box, IDNO);
            } else if (text.rfind("L'installazione", 0) == 0) {
                final = text;
                return true;
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
