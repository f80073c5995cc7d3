// The sample CD as a user meets it on a disc: its image mounted read-only and shown to the
// prefix as CD-ROM drive D:, the launcher started as autorun starts it, every edition
// installed complete from the drive and removed again, the demonstration and the film started
// from the disc. After every scenario Wine's own traces must show that nothing on the disc
// was opened for a change and that its free space was never asked for; what was installed
// must be plain files that can be changed and removed, and the paths written name the drive.
#include "cdrom_drive.h"
#include "drive_trace.h"
#include "tests/support/installation_fixture.h"
#include "tests/support/shell_state.h"

#include <gtest/gtest.h>

#include <memory>

using namespace e2e;

namespace {

const char* kDoneFirstLines = "L'installazione è terminata.\nFare \"Doppio Click\" sull'icona "
                              "KORVA '98 per utilizzare il programma.";
const char* kRemovedText = "KORVA '98 è stato rimosso dal sistema.";
const char* kFilmOfferText = "Per motivi di spazio non è stato possibile inserire questa cartina";
constexpr int kEuropaCommand = 1062;
constexpr int kDemonstrationCommand = 1066;

class FromTheDisc : public Installation {
protected:
    void SetUp() override {
        testfs::DeleteFileIfAny(testfs::KorvaIniPath());
        RemoveGroup();
        drive_ = std::make_unique<testfs::ScopedCdromDrive>('D');
        if (!drive_->Ready()) {
            GTEST_SKIP() << "no CD-ROM drive with the sample CD: " << drive_->Problem();
        }
        trace_ = std::make_unique<testfs::DriveAccessTrace>('D', drive_->UnixMountPoint());
        if (!trace_->Available()) {
            GTEST_SKIP() << "Wine's traces cannot be read: the test runs through wine-run";
        }
        cd_ = drive_->Drive();
        destination_ = FreshDestination(TestName().substr(0, 24));
        // The film and demonstration stand-ins cannot log beside themselves on the disc.
        logs_ = testfs::FreshScratchDir("logs-" + TestName().substr(0, 24));
        SetEnvironmentVariableA("KORVA_STANDIN_LOGS", logs_.c_str());
    }

    void TearDown() override {
        if (trace_) {
            const testfs::DriveAccessTrace::Findings seen = trace_->Read();
            // The disc was read (setvars.inf at least): the trace does see it.
            EXPECT_GT(seen.opens, 0u);
            EXPECT_EQ(Joined(seen.changes), "") << "opened on the disc for a change";
            EXPECT_EQ(Joined(seen.freeSpace), "") << "free space of the disc asked for";
            if (installs_) {
                // The installation did ask for free space: of its destination.
                EXPECT_GT(seen.freeSpaceElsewhere, 0u);
            }
            trace_.reset();
        }
        SetEnvironmentVariableA("KORVA_STANDIN_LOGS", nullptr);
        CloseFolderWindows();
        RemoveGroup();
        Installation::TearDown();
        drive_.reset();
    }

    // Starts install.exe as a disc's autorun starts it: the "open" command of the disc's
    // autorun.inf, run from the root of the drive.
    void StartAsAutorun(InstallerRun& run) {
        char open[MAX_PATH] = {};
        GetPrivateProfileStringA("autorun", "open", "", open, sizeof open,
                                 (drive_->Root() + "autorun.inf").c_str());
        const std::string command = open;
        ASSERT_EQ(command, "install.exe autorun");
        ASSERT_TRUE(run.Start(command.substr(command.find(' ') + 1), drive_->Root()));
    }

    InstallExpectation ExpectEdition(const std::string& editionDir, int type) const {
        InstallExpectation e;
        e.programSourceDir = cd_;
        e.sourceDir = cd_ + "\\" + editionDir;
        e.programDir = destination_;
        e.firstAreaType = type;
        e.areas = AreasOf(e.sourceDir);
        return e;
    }

    // Installed files that are read-only or cannot be opened for writing.
    std::vector<std::string> UnwritableFiles() const {
        std::vector<std::string> unwritable;
        for (const std::string& relative : testfs::ListTree(destination_)) {
            const std::string path = destination_ + "\\" + relative;
            const DWORD attributes = GetFileAttributesA(path.c_str());
            if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY)) {
                unwritable.push_back(relative + " is read-only");
                continue;
            }
            HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file == INVALID_HANDLE_VALUE) {
                unwritable.push_back(relative + " cannot be opened for writing");
            } else {
                CloseHandle(file);
            }
        }
        return unwritable;
    }

    // The one line a stand-in of the disc logged, once it has.
    std::vector<std::string> StandinLog(const char* name) const {
        const std::string log = logs_ + "\\" + name + ".log";
        robot::WaitUntil([&] { return !testfs::ReadLines(log).empty(); });
        return testfs::ReadLines(log);
    }

    bool installs_ = false; // the scenario runs an installation
    std::unique_ptr<testfs::ScopedCdromDrive> drive_;
    std::unique_ptr<testfs::DriveAccessTrace> trace_;
    std::string logs_;
};

} // namespace

TEST_F(FromTheDisc, TheDriveShowsTheSampleCdReadOnly) {
    EXPECT_EQ(GetDriveTypeA(drive_->Root().c_str()), static_cast<UINT>(DRIVE_CDROM));
    const std::vector<std::string> files = testfs::ListTree(cd_);
    EXPECT_EQ(Joined(files), Joined(testfs::ListTree(testfs::SampleCd())));
    for (const std::string& relative : files) {
        const std::string path = cd_ + "\\" + relative;
        EXPECT_EQ(testfs::ReadFile(path), testfs::ReadFile(testfs::SampleCd() + "\\" + relative))
            << relative;
        EXPECT_TRUE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY) << relative;
    }
    // A disc has no free space: an installation that asked it would refuse to go on.
    DWORD sectors = 0, bytes = 0, free = 1, clusters = 0;
    ASSERT_TRUE(GetDiskFreeSpaceA(drive_->Root().c_str(), &sectors, &bytes, &free, &clusters));
    EXPECT_EQ(free, 0u);
    // A disc takes no new file; the refusal is the platform's.
    HANDLE created = CreateFileA((drive_->Root() + "nuovo.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                                 CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_EQ(created, INVALID_HANDLE_VALUE);
    if (created != INVALID_HANDLE_VALUE) {
        CloseHandle(created);
    }
    trace_.reset(); // no program ran: there is nothing to trace
}

TEST_F(FromTheDisc, AutorunWithoutAnInstalledProductShowsTheMenu) {
    InstallerRun run(cd_);
    StartAsAutorun(run);
    ASSERT_NE(run.WaitMenu(), nullptr);
    EXPECT_EQ(run.CloseMenuAndWait(), 0);
}

TEST_F(FromTheDisc, AutorunWithAnInstalledProductEndsSilently) {
    testfs::WriteFile(testfs::KorvaIniPath(), "[Installazione]\r\nVersione_di_KORVA=3.04\r\n");
    InstallerRun run(cd_);
    StartAsAutorun(run);
    EXPECT_TRUE(run.EndsWithoutAWindow());
}

TEST_F(FromTheDisc, TheDemonstrationPlaysTheDiscsFilm) {
    InstallerRun run(cd_);
    StartAsAutorun(run);
    HWND menu = run.WaitMenu();
    ASSERT_NE(menu, nullptr);
    robot::Click(menu, kDemonstrationCommand);
    EXPECT_EQ(StandinLog("ziziraz"), std::vector<std::string>{cd_ + "\\film\\ziziraz italia.dem"});
    EXPECT_EQ(run.CloseMenuAndWait(), 0);
}

TEST_F(FromTheDisc, TheFilmOfferedForEuropaPlaysFromTheDisc) {
    InstallerRun run(cd_);
    StartAsAutorun(run);
    HWND menu = run.WaitMenu();
    ASSERT_NE(menu, nullptr);
    robot::SendCommand(menu, kEuropaCommand);
    HWND offer = run.WaitMessage(kFilmOfferText);
    ASSERT_NE(offer, nullptr);
    robot::Click(offer, IDYES);
    EXPECT_EQ(StandinLog("ziziraz"), std::vector<std::string>{cd_ + "\\film\\ziziraz europa.dem"});
    robot::Sync(menu);
    EXPECT_EQ(run.CountWindows(kWelcomeTitle), 0u);
    EXPECT_EQ(run.CloseMenuAndWait(), 0);
}

TEST_F(FromTheDisc, AMinimalInstallationLeavesTheDataOnTheCdRomDrive) {
    installs_ = true;
    InstallerRun run(cd_);
    StartAsAutorun(run);
    ASSERT_TRUE(run.StartEditionAndContinue(kItaliaCommand));
    ASSERT_TRUE(run.AnswerPathPrompt(destination_));
    ASSERT_TRUE(run.ChooseInstallType(1));
    EXPECT_EQ(FinishWithMessage(run).rfind(kDoneFirstLines, 0), 0u);
    EXPECT_EQ(Joined(CompareInstalledTree(ExpectEdition("cd_ita", 1))), "");
    EXPECT_EQ(Joined(UnwritableFiles()), "");
    // Every path into the data left on the CD names the CD-ROM drive.
    ExpectKorvaIni(2);
    ExpectMapSetSettings("italia", 1, true);
    ExpectMapSetSettings("sicilia", 2, false);
    EXPECT_EQ(IniValue(destination_ + "\\italia\\italia.vgr", "PATHS", "dirOfNet"),
              "D:\\cd_ita\\italia\\rete");
}

namespace {

struct Edition {
    const char* name;
    int command;
    const char* dir;
    const char* mapSet;
};

void PrintTo(const Edition& edition, std::ostream* out) {
    *out << edition.name;
}

class EveryEdition : public FromTheDisc, public ::testing::WithParamInterface<Edition> {};

} // namespace

TEST_P(EveryEdition, IsInstalledCompleteFromTheDiscAndRemovedByDel) {
    const Edition& edition = GetParam();
    installs_ = true;
    iconAnswer_ = IDYES;
    InstallerRun run(cd_);
    StartAsAutorun(run);
    ASSERT_TRUE(run.StartEditionAndContinue(edition.command));
    ASSERT_TRUE(run.AnswerPathPrompt(destination_));
    ASSERT_TRUE(run.ChooseInstallType(3));
    ASSERT_EQ(FinishWithMessage(run).rfind(kDoneFirstLines, 0), 0u);

    const InstallExpectation e = ExpectEdition(edition.dir, 3);
    ASSERT_FALSE(e.areas.empty());
    EXPECT_EQ(Joined(CompareInstalledTree(e)), "");
    // Copied from read-only files, the installed ones are ordinary files all the same.
    EXPECT_EQ(Joined(UnwritableFiles()), "");

    const std::string ini = testfs::KorvaIniPath();
    const std::string editionDir = cd_ + "\\" + edition.dir;
    EXPECT_EQ(IniValue(ini, "Paths", "DirOfCD"), editionDir);
    EXPECT_EQ(IniValue(ini, "Installazione", "Directory_di_KORVA"), destination_);
    std::string mapSets;
    for (size_t i = 0; i < e.areas.size(); ++i) {
        mapSets.append(i ? "," : "").append(edition.mapSet);
    }
    EXPECT_EQ(IniValue(ini, "Installazione", "Cartine"), mapSets + ".");
    for (size_t i = 0; i < e.areas.size(); ++i) {
        const std::string& area = e.areas[i];
        // The first area's bitmap tree was copied; a later one's stays on the disc.
        EXPECT_EQ(IniValue(destination_ + "\\" + area + "\\" + area + ".vgr", "DISKS", "Disk1"),
                  i == 0 ? destination_ + "\\" + area + "\\cartine"
                         : editionDir + "\\" + area + "\\cartine");
    }
    // The group's demonstration item starts the demonstration from the disc.
    EXPECT_TRUE(WaitForFolderWindow(5000));
    CloseFolderWindows();
    const std::string demo = ItemTarget("Edizioni Korva.lnk");
    EXPECT_EQ(_stricmp(demo.c_str(), (cd_ + "\\kdemo\\kdemo.exe").c_str()), 0) << demo;
    ASSERT_EQ(robot::RunToEnd(demo), 0);
    const std::vector<std::string> demoLog = StandinLog("kdemo");
    ASSERT_EQ(demoLog.size(), 1u);
    EXPECT_NE(demoLog[0].find("D:\\kdemo\\kdemo.exe"), std::string::npos) << demoLog[0];

    // Installed now: the disc's autorun ends at once.
    InstallerRun again(cd_);
    StartAsAutorun(again);
    EXPECT_TRUE(again.EndsWithoutAWindow());

    // The map program's first start records the installation; then the removal from the disc.
    ASSERT_EQ(robot::RunToEnd(destination_ + "\\korva.exe"), 0);
    InstallerRun removal(cd_);
    ASSERT_TRUE(removal.Start("del", drive_->Root()));
    HWND welcome = removal.WaitWelcome();
    ASSERT_NE(welcome, nullptr);
    robot::Click(welcome, IDOK);
    HWND removed = removal.WaitMessage(kRemovedText);
    ASSERT_NE(removed, nullptr);
    robot::Click(removed, IDOK);
    EXPECT_EQ(removal.WaitExit(), 0);
    EXPECT_EQ(Joined(testfs::ListTree(destination_)), "");
    EXPECT_FALSE(testfs::Exists(ini));

    // Not installed any more: the disc's autorun shows the menu again.
    InstallerRun afterwards(cd_);
    StartAsAutorun(afterwards);
    ASSERT_NE(afterwards.WaitMenu(), nullptr);
    EXPECT_EQ(afterwards.CloseMenuAndWait(), 0);
}

INSTANTIATE_TEST_SUITE_P(SampleCd, EveryEdition,
                         ::testing::Values(Edition{"Milano", 1060, "cd_euro", "EUROPA"},
                                           Edition{"Italia", 1061, "cd_ita", "ITALIA"},
                                           Edition{"Torino", 1063, "cd_tori", "TORINO"},
                                           Edition{"Roma", 1064, "cd_roma", "ROMA"}),
                         [](const ::testing::TestParamInfo<Edition>& info) {
                             return std::string(info.param.name);
                         });
