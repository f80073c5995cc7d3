// Installations from the sample CD through the real dialogs: what is copied where, the
// settings files key by key, and the prompts, questions and ways out of a run.
#include "tests/support/installation_fixture.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace e2e;

TEST_F(Installation, CompleteInstallCopiesTheBitmapTreeOfTheFirstAreaOnly) {
    InstallerRun run(cd_);
    EXPECT_EQ(InstallItalia(run, 3).rfind(kDoneText, 0), 0u);
    EXPECT_EQ(Joined(CompareInstalledTree(Expect(3))), "");
    ExpectMapSetSettings("italia", 3, true);
    ExpectMapSetSettings("sicilia", 2, false);
    // The second area is installed as recommended and writes the type last.
    ExpectKorvaIni(2);
    EXPECT_TRUE(testfs::Exists(destination_ + "\\italia\\rete\\Temp"));
    EXPECT_TRUE(testfs::Exists(destination_ + "\\italia\\rete\\Backup"));
    EXPECT_FALSE(testfs::Exists(destination_ + "\\sicilia\\cartine"));
}

TEST_F(Installation, RecommendedInstallCopiesNetworkCataloguesAndImages) {
    InstallerRun run(cd_);
    EXPECT_EQ(InstallItalia(run, 2).rfind(kDoneText, 0), 0u);
    EXPECT_EQ(Joined(CompareInstalledTree(Expect(2))), "");
    ExpectMapSetSettings("italia", 2, true);
    ExpectMapSetSettings("sicilia", 2, false);
    ExpectKorvaIni(2);
}

TEST_F(Installation, MinimalInstallLeavesTheDataOnTheCd) {
    InstallerRun run(cd_);
    EXPECT_EQ(InstallItalia(run, 1).rfind(kDoneText, 0), 0u);
    EXPECT_EQ(Joined(CompareInstalledTree(Expect(1))), "");
    EXPECT_FALSE(testfs::Exists(destination_ + "\\italia\\rete"));
    ExpectMapSetSettings("italia", 1, true);
    ExpectMapSetSettings("sicilia", 2, false);
    ExpectKorvaIni(2);
}

TEST_F(Installation, ADestinationTwoLevelsBelowAMissingDirectoryIsCreatedAndInstalled) {
    const std::string deep = destination_ + "\\primo livello\\secondo";
    ASSERT_FALSE(testfs::Exists(destination_));
    InstallerRun run(cd_);
    ASSERT_TRUE(run.Start(""));
    ASSERT_TRUE(run.StartEditionAndContinue(kItaliaCommand));
    ASSERT_TRUE(run.AnswerPathPrompt(deep));
    ASSERT_TRUE(run.ChooseInstallType(2));
    EXPECT_EQ(FinishWithMessage(run).rfind(kDoneText, 0), 0u);
    InstallExpectation e = Expect(2);
    e.programDir = deep;
    EXPECT_EQ(Joined(CompareInstalledTree(e)), "");
    EXPECT_EQ(IniValue(testfs::KorvaIniPath(), "Installazione", "Directory_di_KORVA"), deep);
}

TEST_F(Installation, WithoutTheLauncherFileEveryPathWrittenIsAbsolute) {
    // The edition's default directory is a bare name, "cd_ita": it is the CD's.
    testfs::DeleteFileIfAny(cd_ + "\\setvars.inf");
    InstallerRun run(cd_);
    EXPECT_EQ(InstallItalia(run, 1).rfind(kDoneText, 0), 0u);
    EXPECT_EQ(Joined(CompareInstalledTree(Expect(1))), "");
    ExpectKorvaIni(2);
    ExpectMapSetSettings("italia", 1, true);
    ExpectMapSetSettings("sicilia", 2, false);
    const std::string ini = testfs::KorvaIniPath();
    const std::string italia = destination_ + "\\italia\\italia.vgr";
    for (const auto& [file, section, key] :
         {std::tuple{ini, "Paths", "DirOfCD"},
          std::tuple{ini, "Installazione", "Directory_di_KORVA"},
          std::tuple{italia, "PATHS", "dirOfNet"}, std::tuple{italia, "PATHS", "dirOfImage"},
          std::tuple{italia, "PATHS", "dirOfCatalog"}, std::tuple{italia, "DISKS", "Disk1"}}) {
        const std::string value = IniValue(file, section, key);
        EXPECT_EQ(value.substr(1, 2), ":\\") << section << "/" << key << " = " << value;
    }
}

TEST_F(Installation, AMissingMapFileOfTheSecondAreaIsNamedWhereItShouldBeOnTheCd) {
    const std::string missing = cd_ + "\\cd_ita\\sicilia\\sicilia.map";
    testfs::DeleteFileIfAny(missing);
    InstallerRun run(cd_);
    ASSERT_TRUE(run.Start(""));
    ASSERT_TRUE(run.StartEditionAndContinue(kItaliaCommand));
    ASSERT_TRUE(run.AnswerPathPrompt(destination_));
    ASSERT_TRUE(run.ChooseInstallType(2));
    HWND box = run.WaitMessage("sicilia.map");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(robot::MessageBoxText(box), "Il file \"" + missing +
                                              "\" non è stato trovato.  Inserire il dischetto "
                                              "giusto e riprovare.");
    robot::Click(box, IDABORT);
    EXPECT_EQ(FinishWithMessage(run), kNotCompletedText);
}

TEST_F(Installation, TemporaryCopiesOfAStoppedRunAreRemovedFromTheDirectoriesWrittenTo) {
    // What a run stopped part way by the Windows 95 family's version installation leaves: the
    // beginning of a file it was copying, under the platform's temporary name.
    testfs::MakeDirs(destination_ + "\\italia");
    testfs::MakeDirs(destination_ + "\\altro");
    const std::string program = testfs::ReadFile(cd_ + "\\korva.exe");
    const std::string map = testfs::ReadFile(cd_ + "\\cd_ita\\italia\\italia.map");
    ASSERT_GT(program.size(), 100u);
    ASSERT_GT(map.size(), 10u);
    testfs::WriteFile(destination_ + "\\ver1a2b.tmp", program.substr(0, program.size() / 2));
    testfs::WriteFile(destination_ + "\\italia\\VER0C0D.TMP", map.substr(0, map.size() - 1));
    testfs::WriteFile(destination_ + "\\altro\\ver0001.tmp", program.substr(0, 100));
    // The user's own files, two hours old: named like the platform's copies or nearly so, but
    // not copies of the CD's files.
    const std::vector<std::string> users = {"verbale.tmp", "versione.tmp", "ver1234.tmp",
                                            "italia\\versione.txt", "italia\\ver9.tmp"};
    for (const std::string& name : users) {
        testfs::WriteFile(destination_ + "\\" + name, "a user's file");
        testfs::SetAge(destination_ + "\\" + name, 2 * 3600);
    }
    testfs::WriteFile(destination_ + "\\italia\\ver0a.tmp", ""); // no copy's beginning
    // A link under a temporary name, to a copy of the program's beginning outside the prefix.
    const testfs::ScopedOutsideDir outsideDir("stale-link-" + TestName());
    const std::string& outside = outsideDir.Path();
    testfs::WriteFile(outside + "\\korva-inizio.exe", program.substr(0, 100));
    testfs::ScopedLink link(destination_ + "\\ver00aa.tmp", outside + "\\korva-inizio.exe");
    for (const char* planted : {"\\ver1a2b.tmp", "\\italia\\VER0C0D.TMP", "\\altro\\ver0001.tmp",
                                "\\italia\\ver0a.tmp"}) {
        testfs::SetAge(destination_ + planted, 2 * 3600);
    }

    InstallerRun run(cd_);
    EXPECT_EQ(InstallItalia(run, 2).rfind(kDoneText, 0), 0u);
    std::vector<std::string> preexisting = {"ver1a2b.tmp", "italia\\VER0C0D.TMP",
                                            "altro",       "altro\\ver0001.tmp",
                                            "ver00aa.tmp", "italia\\ver0a.tmp"};
    preexisting.insert(preexisting.end(), users.begin(), users.end());
    EXPECT_EQ(Joined(CompareInstalledTree(Expect(2), preexisting)), "");
    const bool windows95Family = (GetVersion() & 0x80000000u) != 0;
    // Only where this run copied files, and only on the family that makes such files.
    EXPECT_NE(testfs::Exists(destination_ + "\\ver1a2b.tmp"), windows95Family);
    EXPECT_NE(testfs::Exists(destination_ + "\\italia\\VER0C0D.TMP"), windows95Family);
    EXPECT_TRUE(testfs::Exists(destination_ + "\\altro\\ver0001.tmp"));
    EXPECT_TRUE(testfs::Exists(destination_ + "\\italia\\ver0a.tmp"));
    for (const std::string& name : users) {
        EXPECT_EQ(testfs::ReadFile(destination_ + "\\" + name), "a user's file") << name;
    }
    EXPECT_TRUE(testfs::Exists(destination_ + "\\ver00aa.tmp"));
    EXPECT_EQ(testfs::ReadFile(outside + "\\korva-inizio.exe"), program.substr(0, 100));
}

// What is installed can be removed: the prompt does not take a directory that the removal would
// refuse to empty, says why, and asks again with the text typed.
TEST_F(Installation, TheDestinationPromptRefusesWhatARemovalCouldNotEmpty) {
    const std::string insideWindows = testfs::WindowsDir() + "\\korva";
    ASSERT_FALSE(testfs::Exists(insideWindows));
    InstallerRun run(cd_);
    ASSERT_TRUE(run.Start(""));
    ASSERT_TRUE(run.StartEditionAndContinue(kItaliaCommand));
    // Typed, and as the prompt gives it back.
    const std::vector<std::pair<std::string, std::string>> refused = {
        {"C:\\Program Files", "C:\\Program Files"},
        {"c:\\", "C:"},
        {testfs::WindowsDir(), testfs::WindowsDir()},
        {insideWindows + "\\", insideWindows},
        {cd_, cd_}, // the installer's own CD
    };
    for (const auto& [typed, shown] : refused) {
        SCOPED_TRACE(typed);
        ASSERT_TRUE(run.AnswerPathPrompt(typed));
        HWND box = run.WaitMessage("Nella directory");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(robot::MessageBoxText(box),
                  "Nella directory \"" + shown +
                      "\" non è possibile installare KORVA '98: è la radice di un disco, la "
                      "directory di Windows o una directory del sistema o di altri programmi. "
                      "Scegliere un'altra directory.");
        EXPECT_EQ(robot::Text(box), "Installazione di  KORVA '98 3.04");
        ASSERT_TRUE(robot::Click(box, IDOK));
        HWND prompt = run.WaitPathPrompt();
        ASSERT_NE(prompt, nullptr);
        EXPECT_EQ(robot::ItemText(prompt, 1001), shown);
    }
    EXPECT_FALSE(testfs::Exists(insideWindows));
    ASSERT_TRUE(run.AnswerPathPrompt(destination_));
    ASSERT_TRUE(run.ChooseInstallType(2));
    EXPECT_EQ(FinishWithMessage(run).rfind(kDoneText, 0), 0u);
    EXPECT_EQ(Joined(CompareInstalledTree(Expect(2))), "");
}

TEST_F(Installation, TypedSourceIsCheckedAndThePromptComesBackWithTheInstallerDirectory) {
    testfs::WriteFile(cd_ + "\\setvars.inf", "[italia]\r\nFirstDir=\r\n");
    testfs::MakeDirs(cd_ + "\\onlyexe");
    testfs::CopyFileOrFail(cd_ + "\\korva.exe", cd_ + "\\onlyexe\\korva.exe");
    InstallerRun run(cd_);
    ASSERT_TRUE(run.Start(""));
    ASSERT_TRUE(run.StartEditionAndContinue(kItaliaCommand));

    HWND prompt = run.WaitPathPrompt();
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(robot::ItemText(prompt, 1003),
              "Selezionare l'unità in cui è situato il Compact Disc.");
    EXPECT_EQ(robot::ItemText(prompt, 1001), cd_);
    ASSERT_TRUE(run.AnswerPathPrompt(cd_ + "\\onlyexe\\"));

    HWND refusal = run.WaitMessage("non ci sono dati riconoscibili");
    ASSERT_NE(refusal, nullptr);
    EXPECT_EQ(robot::MessageBoxText(refusal),
              "Nell'unità '" + cd_ +
                  "\\onlyexe' non ci sono dati riconoscibili da KORVA '98 : "
                  "inserire un CD Korva o cambiare l'identificativo dell'unità.");
    EXPECT_EQ(robot::Text(refusal), "Installazione di KORVA '98 3.04");
    robot::Click(refusal, IDOK);

    prompt = run.WaitPathPrompt();
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(robot::ItemText(prompt, 1001), cd_);
    ASSERT_TRUE(run.AnswerPathPrompt(cd_ + "\\cd_ita"));

    HWND destination =
        robot::WaitForWindow({run.Pid(), kPromptTitle, "", "verrà installato", nullptr});
    ASSERT_NE(destination, nullptr);
    EXPECT_EQ(robot::ItemText(destination, 1003),
              "KORVA '98 verrà installato nella directory \"c:\\korva\\\".");
    EXPECT_EQ(robot::ItemText(destination, 1001), "C:\\korva");
    robot::Click(destination, IDCANCEL);
    EXPECT_EQ(FinishWithMessage(run), kNotCompletedText);
}

TEST_F(Installation, LowerCaseDriveAndTrailingBackslashAreNormalised) {
    InstallerRun run(cd_);
    ASSERT_TRUE(run.Start(""));
    ASSERT_TRUE(run.StartEditionAndContinue(kItaliaCommand));
    std::string typed = destination_ + "\\";
    typed[0] = 'c';
    ASSERT_TRUE(run.AnswerPathPrompt(typed));
    ASSERT_TRUE(run.ChooseInstallType(1));
    EXPECT_EQ(FinishWithMessage(run).rfind(kDoneText, 0), 0u);
    EXPECT_EQ(IniValue(testfs::KorvaIniPath(), "Installazione", "Directory_di_KORVA"),
              destination_);
    EXPECT_EQ(Joined(CompareInstalledTree(Expect(1))), "");
}

TEST_F(Installation, DemoDirectoriesAndDotNamesAreNotAreas) {
    for (const char* name : {"demo", "KDEMO", ".svn"}) {
        testfs::MakeDirs(cd_ + "\\cd_ita\\" + name);
        testfs::WriteFile(cd_ + "\\cd_ita\\" + name + "\\x.vgr", "[MAPSET]\r\n");
    }
    InstallerRun run(cd_);
    EXPECT_EQ(InstallItalia(run, 1).rfind(kDoneText, 0), 0u);
    EXPECT_EQ(Joined(CompareInstalledTree(Expect(1))), "");
    EXPECT_EQ(IniValue(testfs::KorvaIniPath(), "Installazione", "Cartine"), "ITALIA,ITALIA.");
}

TEST_F(Installation, ACapitalisedDemoDirectoryIsAnArea) {
    const std::string demo = cd_ + "\\cd_ita\\Demo";
    testfs::MakeDirs(demo);
    for (const char* ext : {".vgr", ".are", ".map"}) {
        testfs::CopyFileOrFail(cd_ + "\\cd_ita\\sicilia\\sicilia" + std::string(ext),
                               demo + "\\Demo" + ext);
    }
    testfs::MakeDirs(cd_ + "\\cd_ita\\Kdemo");
    InstallerRun run(cd_);
    EXPECT_EQ(InstallItalia(run, 1).rfind(kDoneText, 0), 0u);
    InstallExpectation e = Expect(1);
    e.areas = {"Demo", "italia", "sicilia"};
    EXPECT_EQ(Joined(CompareInstalledTree(e)), "");
    EXPECT_EQ(IniValue(testfs::KorvaIniPath(), "Installazione", "Cartine"),
              "ITALIA,ITALIA,ITALIA.");
}

namespace {

class EarlierNetwork : public Installation, public ::testing::WithParamInterface<int> {};

} // namespace

TEST_P(EarlierNetwork, TheQuestionDecidesTheNetworkAndNoCataloguesFollow) {
    const int answer = GetParam();
    testfs::MakeDirs(destination_ + "\\italia\\rete");
    testfs::WriteFile(destination_ + "\\italia\\rete\\vecchia.dat", "old network");
    InstallerRun run(cd_);
    ASSERT_TRUE(run.Start(""));
    ASSERT_TRUE(run.StartEditionAndContinue(kItaliaCommand));
    ASSERT_TRUE(run.AnswerPathPrompt(destination_));
    ASSERT_TRUE(run.ChooseInstallType(2));
    HWND question = run.WaitMessage("rete stradale precedente");
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(
        robot::MessageBoxText(question).rfind(
            "E' stata individuata una rete stradale precedente di KORVA '98. Sovrascrivere ?", 0),
        0u);
    EXPECT_EQ(robot::Text(question), "Installazione di KORVA '98 3.04");
    robot::Click(question, answer);
    EXPECT_EQ(FinishWithMessage(run).rfind(kDoneText, 0), 0u);

    InstallExpectation e = Expect(2);
    e.earlierNetwork = true;
    if (answer == IDNO) {
        e.networkDeclined = {"italia"};
    }
    EXPECT_EQ(Joined(CompareInstalledTree(e, {"italia\\rete\\vecchia.dat"})), "");
}

INSTANTIATE_TEST_SUITE_P(Answers, EarlierNetwork, ::testing::Values(IDYES, IDNO),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return info.param == IDYES ? std::string("Yes") : std::string("No");
                         });

namespace {

class MissingFile : public Installation, public ::testing::WithParamInterface<int> {};

} // namespace

TEST_P(MissingFile, AbortRetryAndIgnoreAtTheMissingFileMessage) {
    const int answer = GetParam();
    const std::string help = cd_ + "\\korva.hlp";
    const std::string saved = testfs::ReadFile(help);
    testfs::DeleteFileIfAny(help);
    InstallerRun run(cd_);
    ASSERT_TRUE(run.Start(""));
    ASSERT_TRUE(run.StartEditionAndContinue(kItaliaCommand));
    ASSERT_TRUE(run.AnswerPathPrompt(destination_));
    ASSERT_TRUE(run.ChooseInstallType(2));
    HWND box = run.WaitMessage("non è stato trovato");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(robot::MessageBoxText(box), "Il file \"" + cd_ +
                                              "\\korva.hlp\" non è stato trovato.  Inserire il "
                                              "dischetto giusto e riprovare.");
    EXPECT_EQ(robot::Text(box), "Installazione di  KORVA '98 3.04");
    if (answer == IDRETRY) {
        testfs::WriteFile(help, saved);
    }
    robot::Click(box, answer);
    if (answer == IDIGNORE) {
        // The second area copies the program files again and meets the same file.
        HWND again = run.WaitMessage("non è stato trovato");
        ASSERT_NE(again, nullptr);
        robot::Click(again, IDIGNORE);
    }
    const std::string final = FinishWithMessage(run);

    InstallExpectation e = Expect(2);
    if (answer == IDABORT) {
        EXPECT_EQ(final, kNotCompletedText);
        size_t copied = 0;
        EXPECT_EQ(Joined(CheckCopiedPrefix(e, copied)), "");
        EXPECT_EQ(copied, 2u); // korva.exe and POSINET.EXE, complete
    } else if (answer == IDRETRY) {
        EXPECT_EQ(final.rfind(kDoneText, 0), 0u);
        EXPECT_EQ(Joined(CompareInstalledTree(e)), "");
    } else {
        EXPECT_EQ(final.rfind(kDoneText, 0), 0u);
        EXPECT_EQ(Joined(CompareInstalledTree(e)), "missing korva.hlp\n");
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, MissingFile, ::testing::Values(IDABORT, IDRETRY, IDIGNORE),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return info.param == IDABORT   ? std::string("Abort")
                                    : info.param == IDRETRY ? std::string("Retry")
                                                            : std::string("Ignore");
                         });

TEST_F(Installation, TheProgressWindowShowsTheEditionOfTheAreasNetwork) {
    // A network file held open by another program cannot be read: the run stops at it with
    // the progress window on the screen.
    const std::string held = cd_ + "\\cd_ita\\italia\\rete\\indici.idx";
    HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    InstallerRun run(cd_);
    ASSERT_TRUE(run.Start(""));
    ASSERT_TRUE(run.StartEditionAndContinue(kItaliaCommand));
    ASSERT_TRUE(run.AnswerPathPrompt(destination_));
    ASSERT_TRUE(run.ChooseInstallType(2));
    HWND box = run.WaitMessage("indici.idx");
    HWND progress = run.WaitWindow("Trasferimento");
    std::string edition = progress ? robot::ItemText(progress, 1024) : std::string();
    std::string file = progress ? robot::ItemText(progress, 1005) : std::string();
    CloseHandle(holder);
    ASSERT_NE(box, nullptr);
    robot::Click(box, IDRETRY);
    EXPECT_EQ(FinishWithMessage(run).rfind(kDoneText, 0), 0u);
    EXPECT_EQ(edition, "Edizione: KORVA '98 Italia\nAggiorn.: 01/12\nVersione:  3. 4.");
    EXPECT_EQ(file, "indici.idx");
    EXPECT_EQ(Joined(CompareInstalledTree(Expect(2))), "");
}

TEST_F(Installation, CtrlDoubleClickOnThePromptsOpensTheScreenCapture) {
    InstallerRun run(cd_);
    ASSERT_TRUE(run.Start(""));
    ASSERT_TRUE(run.StartEditionAndContinue(kItaliaCommand));
    HWND prompt = run.WaitPathPrompt();
    ASSERT_NE(prompt, nullptr);
    HWND type = nullptr;
    for (int step = 0; step < 2; ++step) {
        HWND dialog = step == 0 ? prompt : type;
        // A plain double click does nothing; with Ctrl it opens "Salva lo schermo".
        PostMessageA(dialog, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 3));
        robot::Sync(dialog);
        EXPECT_EQ(run.CountWindows("Salva lo schermo"), 0u);
        PostMessageA(dialog, WM_LBUTTONDBLCLK, MK_LBUTTON | MK_CONTROL, MAKELPARAM(3, 3));
        HWND capture = run.WaitWindow("Salva lo schermo");
        ASSERT_NE(capture, nullptr) << step;
        robot::Click(capture, IDCANCEL);
        ASSERT_TRUE(robot::WaitForWindowGone(capture));
        if (step == 0) {
            ASSERT_TRUE(run.AnswerPathPrompt(destination_));
            type = robot::WaitForDialogWithControl(run.Pid(), 1026);
            ASSERT_NE(type, nullptr);
        }
    }
    robot::Click(type, 1026);
    EXPECT_EQ(FinishWithMessage(run).rfind(kDoneText, 0), 0u);
}
