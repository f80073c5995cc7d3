// Installations from the sample CD through the real dialogs: what is copied where, the
// settings files key by key, and the prompts, questions and ways out of a run.
#include "install_oracle.h"
#include "installer_driver.h"
#include "scratch.h"

#include <gtest/gtest.h>

using namespace e2e;

namespace {

// A name for the test's scratch directories (parameterised names hold a "/").
std::string TestName() {
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    for (char& c : name) {
        c = c == '/' ? '_' : c;
    }
    return name;
}

std::string Ini(const std::string& file, const char* section, const char* key) {
    char value[1024] = {};
    GetPrivateProfileStringA(section, key, "<missing>", value, sizeof value, file.c_str());
    return value;
}

const char* kDoneText = "L'installazione è terminata.";
const char* kNotCompletedText = "L'installazione di KORVA '98 non è stata completata.";

class Installation : public ::testing::Test {
protected:
    void SetUp() override {
        testfs::DeleteFileIfAny(testfs::KorvaIniPath());
        cd_ = MakeFullCd(TestName());
        destination_ = FreshDestination(TestName());
    }
    void TearDown() override { testfs::DeleteFileIfAny(testfs::KorvaIniPath()); }

    InstallExpectation Expect(int type) const {
        InstallExpectation e;
        e.programSourceDir = cd_;
        e.sourceDir = cd_ + "\\cd_ita";
        e.programDir = destination_;
        e.firstAreaType = type;
        e.areas = {"italia", "sicilia"};
        return e;
    }

    // Runs an Italia edition install of the given type to the end; returns the final text.
    std::string InstallItalia(InstallerRun& run, int type) {
        EXPECT_TRUE(run.Start(""));
        EXPECT_TRUE(run.StartEditionAndContinue(kItaliaCommand));
        EXPECT_TRUE(run.AnswerPathPrompt(destination_));
        EXPECT_TRUE(run.ChooseInstallType(type));
        return FinishWithMessage(run);
    }

    std::string FinishWithMessage(InstallerRun& run) {
        HWND box = run.WaitMessage("KORVA");
        std::string text = box ? robot::MessageBoxText(box) : std::string("<no message>");
        if (box) {
            robot::Click(box, IDOK);
        }
        EXPECT_EQ(run.CloseMenuAndWait(), 0);
        return text;
    }

    void ExpectMapSetSettings(const std::string& area, int type, bool compensation) {
        const std::string vgr = destination_ + "\\" + area + "\\" + area + ".vgr";
        const std::string areaSource = cd_ + "\\cd_ita\\" + area;
        // Wine reports 2 GB of memory: the pairs are enlarged.
        EXPECT_EQ(Ini(vgr, "DB_SETTINGS", "NodeMemory"), "3000000,9000000");
        EXPECT_EQ(Ini(vgr, "DB_SETTINGS", "SegMemory"), "1000,3001");
        EXPECT_EQ(Ini(vgr, "DB_SETTINGS", "StreetMemory"), "2000000,6000000");
        EXPECT_EQ(Ini(vgr, "DB_SETTINGS", "NationMemory"), "3000000,9000000");
        EXPECT_EQ(Ini(vgr, "MAPSET", "Nome"), area);
        EXPECT_EQ(Ini(vgr, "DISKS", "Disk1"),
                  type == 3 ? destination_ + "\\" + area + "\\cartine" : areaSource + "\\cartine");
        if (type == 1) {
            EXPECT_EQ(Ini(vgr, "PATHS", "dirOfNet"), areaSource + "\\rete");
            EXPECT_EQ(Ini(vgr, "PATHS", "dirOfImage"), areaSource + "\\immagini");
            EXPECT_EQ(Ini(vgr, "PATHS", "dirOfCatalog"), areaSource + "\\catalog");
        } else {
            EXPECT_EQ(Ini(vgr, "PATHS", "dirOfNet"), "<missing>");
        }
        EXPECT_EQ(Ini(vgr, "FLAGS", "Compensation"), compensation ? "1" : "<missing>");
    }

    void ExpectKorvaIni(int lastType) {
        const std::string ini = testfs::KorvaIniPath();
        EXPECT_EQ(Ini(ini, "Installazione", "Versione_di_KORVA"), "3.04");
        EXPECT_EQ(Ini(ini, "Installazione", "Directory_di_KORVA"), destination_);
        // Two areas of one map set: the set is listed twice.
        EXPECT_EQ(Ini(ini, "Installazione", "Cartine"), "ITALIA,ITALIA.");
        EXPECT_EQ(Ini(ini, "ITALIA", "Versione_Rete"), "3.04");
        EXPECT_EQ(Ini(ini, "ITALIA", "Versione_Cartine"), "2.1");
        EXPECT_EQ(Ini(ini, "ITALIA", "Versione_Cataloghi"), "1.3");
        EXPECT_EQ(Ini(ini, "ITALIA", "Tipo_di_installazione"), std::to_string(lastType));
        EXPECT_EQ(Ini(ini, "Paths", "DirOfCD"), cd_ + "\\cd_ita");
        EXPECT_EQ(Ini(ini, "Patc", "Version"), "3.04");
        EXPECT_EQ(Ini(ini, "Records", "Language"), "1");
    }

    std::string cd_;
    std::string destination_;
};

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

} // namespace

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
    EXPECT_EQ(Ini(testfs::KorvaIniPath(), "Installazione", "Directory_di_KORVA"), destination_);
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
    EXPECT_EQ(Ini(testfs::KorvaIniPath(), "Installazione", "Cartine"), "ITALIA,ITALIA.");
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
    EXPECT_EQ(Ini(testfs::KorvaIniPath(), "Installazione", "Cartine"), "ITALIA,ITALIA,ITALIA.");
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
