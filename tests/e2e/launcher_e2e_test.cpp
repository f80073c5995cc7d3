// The launcher as the user meets it: command line, main menu, editions, demonstration,
// welcome and final message, driven through the real install.exe in the prefix.
#include "tests/support/installer_driver.h"
#include "scratch.h"
#include "test_name.h"

#include <gtest/gtest.h>

using testfs::TestName;

using namespace e2e;

namespace {

const char* kAbsentText = "Per problemi di spazio non è stato possibile inserire questa cartina.";
const char* kFilmOfferText = "Per motivi di spazio non è stato possibile inserire questa cartina";
const char* kNotCompletedText = "L'installazione di KORVA '98 non è stata completata.";
const char* kNothingRemovedText = "Non è stata trovata nessuna installazione di KORVA '98";
const char* kAppTitle = "Installazione di  KORVA '98 3.04";

constexpr int kItalia = 1061;
constexpr int kEuropa = 1062;
constexpr int kDemonstration = 1066;

void MarkInstalled(bool installed) {
    testfs::DeleteFileIfAny(testfs::KorvaIniPath());
    if (installed) {
        testfs::WriteFile(testfs::KorvaIniPath(), "[Installazione]\r\nVersione_di_KORVA=3.04\r\n");
    }
}

std::string Setvars(const std::string& italia, const std::string& extra = {}) {
    return "[General]\r\nAutoDemo=roma.dem\r\n[italia]\r\n" + italia + "\r\n" + extra;
}

// The sample CD lacks the map of the European edition and offers its film instead.
struct FilmOffer {
    HWND menu;
    HWND box; // the offer; null when it did not come
};
FilmOffer StartFilmOffer(InstallerRun& run) {
    if (!run.Start("")) {
        return {nullptr, nullptr};
    }
    HWND menu = run.WaitMenu();
    robot::SendCommand(menu, kEuropa);
    return {menu, run.WaitMessage(kFilmOfferText)};
}

class Launcher : public ::testing::Test {
protected:
    void TearDown() override { testfs::DeleteFileIfAny(testfs::KorvaIniPath()); }
};

} // namespace

TEST_F(Launcher, AutorunWithInstalledProductEndsSilently) {
    MarkInstalled(true);
    for (const char* keyword : {"autorun", "AUTORUN"}) {
        InstallerRun run(MakeCd(TestName(), {}));
        ASSERT_TRUE(run.Start(keyword));
        EXPECT_TRUE(run.EndsWithoutAWindow()) << keyword;
    }
}

TEST_F(Launcher, OtherCommandLinesShowTheMenuEvenWhenInstalled) {
    MarkInstalled(true);
    for (const char* arguments : {"Autorun", "", "autorun del", "setup"}) {
        InstallerRun run(MakeCd(TestName(), {}));
        ASSERT_TRUE(run.Start(arguments));
        EXPECT_NE(run.WaitMenu(), nullptr) << '"' << arguments << '"';
        EXPECT_EQ(run.CloseMenuAndWait(), 0);
    }
}

TEST_F(Launcher, AutorunWithoutSettingsFileShowsTheMenu) {
    MarkInstalled(false);
    InstallerRun run(MakeCd(TestName(), {}));
    ASSERT_TRUE(run.Start("autorun"));
    HWND menu = run.WaitMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_NE(GetDlgItem(menu, kItalia), nullptr);
    EXPECT_EQ(robot::ItemText(menu, kDemonstration), "Dimostrativo dei prodotti KORVA.");
    EXPECT_EQ(robot::ItemText(menu, IDCANCEL), "&Esci");
    EXPECT_EQ(run.CloseMenuAndWait(), 0);
}

TEST_F(Launcher, EditionMarkedAbsentShowsTheMessageAndNoCover) {
    for (const char* presence : {"Presence=0", "Presence=01"}) {
        InstallerRun run(MakeCd(TestName(), {.setvars = Setvars(presence)}));
        ASSERT_TRUE(run.Start(""));
        HWND menu = run.WaitMenu();
        ASSERT_NE(menu, nullptr);
        robot::Click(menu, kItalia);
        HWND box = run.WaitMessage(kAbsentText);
        ASSERT_NE(box, nullptr) << presence;
        EXPECT_EQ(robot::Text(box), kAppTitle);
        robot::Click(box, IDOK);
        robot::Sync(menu);
        EXPECT_EQ(run.CountWindows(kWelcomeTitle), 0u);
        EXPECT_EQ(run.CountWindows(kCoverTitle), 0u);
        EXPECT_EQ(run.CloseMenuAndWait(), 0);
    }
}

TEST_F(Launcher, PresenceNoCountsAsPresent) {
    InstallerRun run(MakeCd(TestName(), {.setvars = Setvars("Presence=no")}));
    ASSERT_TRUE(run.Start(""));
    robot::Click(run.WaitMenu(), kItalia);
    HWND welcome = run.WaitWelcome();
    ASSERT_NE(welcome, nullptr);
    EXPECT_EQ(run.CountWindows(kCoverTitle), 1u);
    robot::Click(welcome, IDCANCEL);
    EXPECT_EQ(run.CloseMenuAndWait(), 0);
}

TEST_F(Launcher, FilmOfferAnsweredYesPlaysTheFilmInsteadOfInstalling) {
    InstallerRun run(MakeCd(TestName(), {}));
    const FilmOffer offer = StartFilmOffer(run);
    ASSERT_NE(offer.box, nullptr);
    EXPECT_NE(robot::MessageBoxText(offer.box).find("Si desidera visionare il dimostrativo?"),
              std::string::npos);
    robot::Click(offer.box, IDYES);
    const std::string log = run.CdDir() + "\\film\\ziziraz.log";
    ASSERT_TRUE(robot::WaitUntil([&] { return !testfs::ReadLines(log).empty(); }));
    EXPECT_EQ(testfs::ReadLines(log),
              std::vector<std::string>{run.CdDir() + "\\film\\ziziraz europa.dem"});
    robot::Sync(offer.menu);
    EXPECT_EQ(run.CountWindows(kWelcomeTitle), 0u);
    EXPECT_EQ(run.CloseMenuAndWait(), 0);
}

TEST_F(Launcher, FilmOfferAnsweredNoReturnsToTheMenu) {
    InstallerRun run(MakeCd(TestName(), {}));
    const FilmOffer offer = StartFilmOffer(run);
    ASSERT_NE(offer.box, nullptr);
    robot::Click(offer.box, IDNO);
    robot::Sync(offer.menu);
    // Nothing starts: no welcome, and the film player is not run, for a while after.
    EXPECT_TRUE(robot::HoldsFor(
        [&] {
            return run.CountWindows(kWelcomeTitle) == 0 &&
                   !testfs::Exists(run.CdDir() + "\\film\\ziziraz.log");
        },
        300));
    EXPECT_EQ(run.CloseMenuAndWait(), 0);
}

TEST_F(Launcher, FilmNamedButMissingGoesStraightToTheInstallation) {
    const std::string setvars = "[europa]\r\nfile_demo=missing.dem\r\n";
    InstallerRun run(MakeCd(TestName(), {.setvars = setvars}));
    ASSERT_TRUE(run.Start(""));
    robot::SendCommand(run.WaitMenu(), kEuropa);
    HWND welcome = run.WaitWelcome();
    ASSERT_NE(welcome, nullptr);
    robot::Click(welcome, IDCANCEL);
    EXPECT_EQ(run.CloseMenuAndWait(), 0);
}

// The program the demonstration command starts, as the log of the stand-in program shows it.
struct DemonstrationCase {
    const char* name;
    CdOptions cd;
    const char* log;      // the log of the program expected, under the CD
    const char* started;  // its one line: the command line, under the CD
    const char* otherLog; // the log of the program that must not start, if it is on the CD
};

void PrintTo(const DemonstrationCase& c, std::ostream* out) {
    *out << c.name;
}

class Demonstration : public Launcher, public ::testing::WithParamInterface<DemonstrationCase> {};

TEST_P(Demonstration, StartsTheProgramTheCdOffers) {
    const DemonstrationCase& c = GetParam();
    InstallerRun run(MakeCd(TestName(), c.cd));
    ASSERT_TRUE(run.Start(""));
    robot::Click(run.WaitMenu(), kDemonstration);
    const std::string log = run.CdDir() + c.log;
    ASSERT_TRUE(robot::WaitUntil([&] { return !testfs::ReadLines(log).empty(); }));
    EXPECT_EQ(testfs::ReadLines(log), std::vector<std::string>{run.CdDir() + c.started});
    if (c.otherLog) {
        EXPECT_FALSE(testfs::Exists(run.CdDir() + c.otherLog));
    }
    EXPECT_EQ(run.CloseMenuAndWait(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Launcher, Demonstration,
    ::testing::Values(
        // The film player with the AutoDemo of the settings file.
        DemonstrationCase{"FilmPlayerWithAutoDemo",
                          {.setvars = Setvars("Presence=1")},
                          "\\film\\ziziraz.log",
                          "\\film\\ziziraz roma.dem",
                          "\\kdemo\\kdemo.log"},
        // Without a settings file the film is italia.dem.
        DemonstrationCase{"FilmPlayerWithoutSetvars",
                          {.noSetvars = true},
                          "\\film\\ziziraz.log",
                          "\\film\\ziziraz italia.dem",
                          "\\kdemo\\kdemo.log"},
        // Without the film player: the demonstration program, without arguments.
        DemonstrationCase{"KdemoWithoutFilmPlayer",
                          {.filmPlayer = false},
                          "\\kdemo\\kdemo.log",
                          "\\kdemo\\kdemo.exe",
                          nullptr}),
    [](const ::testing::TestParamInfo<DemonstrationCase>& info) {
        return std::string(info.param.name);
    });

TEST_F(Launcher, DemonstrationWithNeitherProgramDoesNothing) {
    InstallerRun run(MakeCd(TestName(), {.filmPlayer = false, .demoProgram = false}));
    ASSERT_TRUE(run.Start(""));
    HWND menu = run.WaitMenu();
    robot::Click(menu, kDemonstration);
    robot::Sync(menu);
    EXPECT_TRUE(robot::HoldsFor([&] { return run.CountAllWindows() == 1u; }, 300));
    EXPECT_EQ(run.CloseMenuAndWait(), 0);
}

TEST_F(Launcher, WelcomeExitEndsWithoutFinalMessage) {
    InstallerRun run(MakeCd(TestName(), {}));
    ASSERT_TRUE(run.Start(""));
    HWND menu = run.WaitMenu();
    robot::Click(menu, kItalia);
    HWND welcome = run.WaitWelcome();
    ASSERT_NE(welcome, nullptr);
    EXPECT_EQ(robot::ItemText(welcome, IDOK), "&Continua/Continue");
    EXPECT_EQ(robot::ItemText(welcome, IDCANCEL), "&Esci/Exit");
    EXPECT_TRUE(robot::IsChecked(welcome, 1048));
    robot::Click(welcome, IDCANCEL);
    ASSERT_TRUE(robot::WaitUntil([&] { return run.CountWindows(kCoverTitle) == 0; }));
    EXPECT_EQ(run.CountAllWindows(), 1u); // the menu alone, no message
    EXPECT_EQ(run.CloseMenuAndWait(), 0);
}

TEST_F(Launcher, InstallationCancelledAtTheFirstPromptSaysSoAndReturnsToTheMenu) {
    InstallerRun run(MakeCd(TestName(), {}));
    ASSERT_TRUE(run.Start(""));
    robot::Click(run.WaitMenu(), kItalia);
    HWND welcome = run.WaitWelcome();
    ASSERT_NE(welcome, nullptr);
    robot::Click(welcome, IDOK);
    HWND prompt = run.WaitPathPrompt();
    ASSERT_NE(prompt, nullptr);
    robot::Click(prompt, IDCANCEL);
    HWND box = run.WaitMessage(kNotCompletedText);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(robot::Text(box), "Installazione di KORVA '98 3.04");
    robot::Click(box, IDOK);
    ASSERT_TRUE(robot::WaitUntil([&] { return run.CountWindows(kCoverTitle) == 0; }));
    EXPECT_EQ(run.CloseMenuAndWait(), 0);
}

TEST_F(Launcher, CoverFillsTheScreenAndRepaintDoesNotOpenASecondWelcome) {
    InstallerRun run(MakeCd(TestName(), {}));
    ASSERT_TRUE(run.Start(""));
    robot::Click(run.WaitMenu(), kItalia);
    HWND welcome = run.WaitWelcome();
    ASSERT_NE(welcome, nullptr);
    HWND cover = run.WaitWindow(kCoverTitle);
    ASSERT_NE(cover, nullptr);
    RECT rect;
    GetWindowRect(cover, &rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(rect.bottom, GetSystemMetrics(SM_CYSCREEN));
    for (int i = 0; i < 3; ++i) {
        RedrawWindow(cover, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
        robot::Sync(cover);
        EXPECT_TRUE(robot::HoldsFor([&] { return run.CountWindows(kWelcomeTitle) == 1u; }, 100));
    }
    robot::Click(welcome, IDCANCEL);
    EXPECT_EQ(run.CloseMenuAndWait(), 0);
}

TEST_F(Launcher, DelStartsARemovalRunWithoutTheMenu) {
    InstallerRun run(MakeCd(TestName(), {}));
    ASSERT_TRUE(run.Start("del"));
    HWND welcome = run.WaitWelcome();
    ASSERT_NE(welcome, nullptr);
    EXPECT_EQ(run.CountWindows(kMenuTitle), 0u);
    robot::Click(welcome, IDOK);
    HWND box = run.WaitMessage(kNothingRemovedText);
    ASSERT_NE(box, nullptr);
    robot::Click(box, IDOK);
    EXPECT_EQ(run.WaitExit(), 0);
}
