// Installations that go wrong part way: a destination that refuses writes, a disk that fills
// up, bad and over-long input on the CD and at the prompts. Whatever happens, the files copied
// so far are complete, the settings files are well-formed and a second installation works.
#include "tests/support/fault_checks.h"
#include "tests/support/installation_fixture.h"
#include "message_boxes.h"

#include <memory>
#include <random>

using namespace e2e;

namespace {

class Faults : public Installation {
protected:
    // A complete recommended install of the edition, from scratch, must work afterwards.
    void ExpectASecondInstallationCompletes() {
        testfs::RemoveTree(destination_);
        testfs::DeleteFileIfAny(testfs::KorvaIniPath());
        InstallerRun again(cd_);
        EXPECT_EQ(InstallItalia(again, 2).rfind(kDoneText, 0), 0u);
        EXPECT_EQ(Joined(CompareInstalledTree(Expect(2))), "");
        EXPECT_EQ(IniProblems(testfs::KorvaIniPath()), "");
    }
};

// Bytes no text editor would write.
std::string Garbage(std::mt19937& random, size_t size) {
    std::string bytes(size, '\0');
    for (char& b : bytes) {
        b = static_cast<char>(random() & 0xFF);
    }
    return bytes;
}

} // namespace

TEST_F(Faults, ADestinationThatRefusesWritesPartWayAbortsWithEverythingBeforeItIntact) {
    const std::string locked = destination_ + "\\sicilia\\immagini";
    testfs::MakeDirs(locked);
    auto readOnly = std::make_unique<testfs::ScopedReadOnly>(locked);
    InstallerRun run(cd_);
    ASSERT_TRUE(run.Start(""));
    ASSERT_TRUE(run.StartEditionAndContinue(kItaliaCommand));
    ASSERT_TRUE(run.AnswerPathPrompt(destination_));
    ASSERT_TRUE(run.ChooseInstallType(2));
    HWND box = run.WaitMessage("duomo.bmp");
    EXPECT_NE(box, nullptr);
    std::string refused;
    if (box) {
        refused = robot::MessageBoxText(box);
        robot::Click(box, IDABORT);
    }
    EXPECT_EQ(refused, "Impossibile scrivere \"" + locked +
                           "\\duomo.bmp\" sul disco di destinazione: la destinazione è protetta "
                           "da scrittura.  Risolvere il problema e riprovare.");
    const std::string final = FinishWithMessage(run);
    readOnly.reset();
    EXPECT_EQ(final, kNotCompletedText);

    size_t copied = 0;
    InstallExpectation e = Expect(2);
    EXPECT_EQ(Joined(CheckCopiedPrefix(e, copied)), "");
    EXPECT_GT(copied, 30u);
    // The first area was finished and its settings written; the second's were not.
    EXPECT_EQ(IniProblems(testfs::KorvaIniPath()), "");
    EXPECT_EQ(IniValue(testfs::KorvaIniPath(), "Installazione", "Cartine"), "ITALIA.");
    EXPECT_EQ(IniProblems(destination_ + "\\italia\\italia.vgr"), "");
    ExpectASecondInstallationCompletes();
}

TEST_F(Faults, ADiskThatFillsUpStopsTheCopyWithoutHalfWrittenFiles) {
    // A 1.5 MB file system as drive K: of the prefix.
    testfs::ScopedSmallDrive drive('K', 1536);
    if (!drive.Mounted()) {
        GTEST_SKIP() << "this machine cannot mount a small file system";
    }
    const std::string small = "K:\\korva";

    InstallerRun run(cd_);
    ASSERT_TRUE(run.Start(""));
    ASSERT_TRUE(run.StartEditionAndContinue(kItaliaCommand));
    ASSERT_TRUE(run.AnswerPathPrompt(small));
    ASSERT_TRUE(run.ChooseInstallType(3));
    // The space checks may already warn ("Spazio", "spazio"); the copy then meets the full disk.
    std::string full;
    robot::AnswerMessageBoxes(run.Pid(), [&](HWND box, const std::string& text) {
        if (text.find("Impossibile scrivere") != std::string::npos ||
            text.find("non è stato trovato") != std::string::npos) {
            full = text;
            robot::Click(box, IDABORT);
            return true;
        }
        if (text.find("pazio") != std::string::npos && GetDlgItem(box, IDIGNORE)) {
            robot::Click(box, IDIGNORE);
            robot::WaitForWindowGone(box);
        }
        return false;
    });
    const std::string final = FinishWithMessage(run);

    InstallExpectation e = Expect(3);
    e.programDir = small;
    size_t copied = 0;
    EXPECT_EQ(Joined(CheckCopiedPrefix(e, copied)), "");
    // The destination is named, with the cause; the user is not sent to change the CD.
    EXPECT_EQ(full.rfind("Impossibile scrivere \"" + small + "\\", 0), 0u) << full;
    EXPECT_NE(full.find(": il disco è pieno."), std::string::npos) << full;
    EXPECT_EQ(full.find("Inserire il dischetto"), std::string::npos) << full;
    EXPECT_EQ(final, kNotCompletedText);
    EXPECT_GT(copied, 0u) << full;
    ExpectASecondInstallationCompletes();
}

TEST_F(Faults, GarbageInEveryDescriptionFileOfTheAreasStillInstalls) {
    std::mt19937 random(20261208);
    for (const char* file :
         {"\\Setup.inf", "\\cd_ita\\Setup.inf", "\\info.txt", "\\cd_ita\\italia\\rete\\setup.inf",
          "\\cd_ita\\italia\\cartine\\setup.inf", "\\cd_ita\\italia\\rete\\db.dat",
          "\\cd_ita\\sicilia\\rete\\setup.inf", "\\cd_ita\\sicilia\\rete\\db.dat"}) {
        testfs::WriteFile(cd_ + file, Garbage(random, 300 + random() % 3000));
    }
    InstallerRun run(cd_);
    ASSERT_TRUE(run.Start(""));
    ASSERT_TRUE(run.StartEditionAndContinue(kItaliaCommand));
    ASSERT_TRUE(run.AnswerPathPrompt(destination_));
    ASSERT_TRUE(run.ChooseInstallType(3));
    EXPECT_EQ(AnswerUntilFinalMessage(run.Pid()).rfind(kDoneText, 0), 0u);
    EXPECT_EQ(run.CloseMenuAndWait(), 0);
    EXPECT_EQ(IniProblems(testfs::KorvaIniPath()), "");
    // Unreadable versions fall back to their defaults.
    EXPECT_EQ(IniValue(testfs::KorvaIniPath(), "Patc", "Version"), "3.04");
    EXPECT_EQ(Joined(CompareInstalledTree(Expect(3))), "");
}

TEST_F(Faults, GarbageInTheLauncherFileLeavesTheMenuWorking) {
    std::mt19937 random(8);
    testfs::WriteFile(cd_ + "\\setvars.inf", Garbage(random, 4000));
    InstallerRun run(cd_);
    ASSERT_TRUE(run.Start(""));
    HWND menu = run.WaitMenu();
    ASSERT_NE(menu, nullptr);
    robot::Click(menu, 1066);
    ASSERT_TRUE(run.StartEditionAndContinue(kItaliaCommand));
    // Without a readable "FirstDir" the edition's default, a name relative to the current
    // directory, is the source: it holds the edition when started from the CD itself.
    ASSERT_TRUE(run.AnswerPathPrompt(destination_));
    ASSERT_TRUE(run.ChooseInstallType(1));
    EXPECT_EQ(AnswerUntilFinalMessage(run.Pid()).rfind(kDoneText, 0), 0u);
    EXPECT_EQ(run.CloseMenuAndWait(), 0);
    EXPECT_EQ(IniProblems(testfs::KorvaIniPath()), "");
}

TEST_F(Faults, HugeValuesInTheDescriptionFilesAreHeldToTheirFields) {
    const std::string longText(5000, 'V');
    testfs::WriteFile(cd_ + "\\cd_ita\\Setup.inf",
                      "[Installazione]\r\nVersione_di_KORVA=" + longText +
                          "\r\nCartine=" + std::string(3000, 'C') + ".98\r\n");
    testfs::WriteFile(cd_ + "\\cd_ita\\italia\\rete\\setup.inf",
                      "[INFO]\r\nsizeOfNet=99999999999999999999\r\nsizeOfNetInBytes=" +
                          std::string(200, '9') + "\r\n");
    testfs::WriteFile(cd_ + "\\info.txt", "[Cataloghi]\r\nNumero_di_bytes=-77777777777\r\n");
    InstallerRun run(cd_);
    ASSERT_TRUE(run.Start(""));
    ASSERT_TRUE(run.StartEditionAndContinue(kItaliaCommand));
    ASSERT_TRUE(run.AnswerPathPrompt(destination_));
    HWND type = robot::WaitForDialogWithControl(run.Pid(), 1026);
    ASSERT_NE(type, nullptr);
    EXPECT_NE(robot::ItemText(type, 1032).find("almeno 4294967295 Mb"), std::string::npos)
        << robot::ItemText(type, 1032);
    robot::Click(type, 1027);
    EXPECT_EQ(AnswerUntilFinalMessage(run.Pid()).rfind(kDoneText, 0), 0u);
    EXPECT_EQ(run.CloseMenuAndWait(), 0);
    const std::string ini = testfs::KorvaIniPath();
    EXPECT_EQ(IniProblems(ini), "");
    // Read through fields of 500 characters: the version keeps 499 of them.
    EXPECT_EQ(IniValue(ini, "Installazione", "Versione_di_KORVA"), std::string(499, 'V'));
    EXPECT_EQ(Joined(CompareInstalledTree(Expect(2))), "");
}

TEST_F(Faults, AnOverLongSourceTypedAtThePromptIsRefusedAndAskedAgain) {
    testfs::WriteFile(cd_ + "\\setvars.inf", "[italia]\r\nFirstDir=\r\n");
    InstallerRun run(cd_);
    ASSERT_TRUE(run.Start(""));
    ASSERT_TRUE(run.StartEditionAndContinue(kItaliaCommand));
    ASSERT_TRUE(run.AnswerPathPrompt("D:\\" + std::string(400, 's')));
    HWND box = run.WaitMessage("troppo lungo");
    ASSERT_NE(box, nullptr);
    robot::Click(box, IDOK);
    ASSERT_TRUE(run.AnswerPathPrompt(cd_ + "\\cd_ita"));
    ASSERT_TRUE(run.AnswerPathPrompt(destination_));
    ASSERT_TRUE(run.ChooseInstallType(1));
    EXPECT_EQ(FinishWithMessage(run).rfind(kDoneText, 0), 0u);
}
