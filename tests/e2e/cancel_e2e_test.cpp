// Cancelling a running installation with the keyboard. These scenarios hold a key down on
// the shared display, so they run alone.
#include "installation_fixture.h"

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
