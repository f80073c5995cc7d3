// Removal of an installed product as the user meets it: "install.exe del" or the group's
// removal item, after the map program's first start has recorded the installation directory;
// the three refusals; and a file that cannot be deleted.
#include "removal_fixture.h"
#include "tests/support/directory_entries.h"

#include <gtest/gtest.h>

using namespace e2e;

TEST_F(Removal, ProductStartedOnceIsRemovedByDel) {
    InstallerRun install(cd_);
    InstallUpToTheQuestion(install, IDYES, false, 3);
    EXPECT_EQ(FinalMessage(install, "L'installazione").rfind(kDoneFirstLines, 0), 0u);
    EXPECT_EQ(Joined(ItemsOnceSettled(kAllItems)), Joined(kAllItems));
    CloseGroupWindowOnceShown();

    // What the removal must leave: files with attributes, and what it must not enter.
    const std::string& d = destination_;
    testfs::WriteFile(d + "\\sola lettura.txt", "r");
    SetFileAttributesA((d + "\\sola lettura.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    testfs::WriteFile(d + "\\nascosto.txt", "h");
    SetFileAttributesA((d + "\\nascosto.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    testfs::WriteFile(d + "\\italia\\sistema.dat", "s");
    SetFileAttributesA((d + "\\italia\\sistema.dat").c_str(), FILE_ATTRIBUTE_SYSTEM);
    testfs::MakeDirs(d + "\\maps.old");
    testfs::WriteFile(d + "\\maps.old\\vecchia.vgr", "not entered");
    testfs::MakeDirs(d + "\\.cache");
    testfs::WriteFile(d + "\\.cache\\pagina.tmp", "never followed");
    testfs::MakeDirs(d + "\\maps\\dentro");
    testfs::WriteFile(d + "\\maps\\nuova.vgr", "entered");
    testfs::WriteFile(d + "\\maps\\dentro\\profonda.vgr", "entered");

    // The map program's first start records where it is installed; the installer does not.
    EXPECT_EQ(IniValue(testfs::KorvaIniPath(), "INFO", "KorvaDir"), "<missing>");
    ASSERT_EQ(robot::RunToEnd(d + "\\korva.exe"), 0);
    EXPECT_EQ(IniValue(testfs::KorvaIniPath(), "INFO", "KorvaDir"), d);

    InstallerRun removal(cd_);
    StartRemoval(removal);
    EXPECT_EQ(RemovalMessage(removal.Pid()), kRemovedText);
    EXPECT_EQ(removal.WaitExit(), 0);

    EXPECT_EQ(Joined(testfs::ListTree(d)),
              Joined({".cache\\pagina.tmp", "italia\\sistema.dat", "maps.old\\vecchia.vgr",
                      "nascosto.txt", "sola lettura.txt"}));
    for (const char* dir :
         {"italia\\rete\\Temp", "italia\\cartine\\scala1", "sicilia\\immagini", "maps\\dentro"}) {
        EXPECT_TRUE(testfs::Exists(d + "\\" + dir)) << dir;
    }
    EXPECT_FALSE(testfs::Exists(testfs::KorvaIniPath()));
    EXPECT_TRUE(robot::WaitUntil([] { return !testfs::Exists(GroupFolder()); }, 5000));
}

TEST_F(Removal, TheGroupsRemovalItemRemovesTheProduct) {
    InstallerRun install(cd_);
    InstallUpToTheQuestion(install, IDYES);
    EXPECT_EQ(FinalMessage(install, "L'installazione").rfind(kDoneFirstLines, 0), 0u);
    ASSERT_EQ(Joined(ItemsOnceSettled(kAllItems)), Joined(kAllItems));
    CloseGroupWindowOnceShown();

    // The installations item opens the CD's menu again.
    ASSERT_EQ(robot::RunToEnd(ItemTarget("Installazioni Korva.lnk")), 0);
    robot::WindowQuery menuQuery;
    menuQuery.title = kMenuTitle;
    HWND menu = robot::WaitForWindow(menuQuery);
    ASSERT_NE(menu, nullptr);
    robot::Click(menu, IDCANCEL);
    ASSERT_TRUE(robot::WaitForWindowGone(menu));

    // The user starts the product once from its item, then its removal item.
    ASSERT_EQ(robot::RunToEnd(ItemTarget("KORVA '98 3.04.lnk")), 0);
    ASSERT_EQ(robot::RunToEnd(ItemTarget("Rimozione di KORVA.lnk")), 0);
    robot::WindowQuery welcomeQuery;
    welcomeQuery.title = kWelcomeTitle;
    HWND welcome = robot::WaitForWindow(welcomeQuery);
    ASSERT_NE(welcome, nullptr);
    DWORD pid = 0;
    GetWindowThreadProcessId(welcome, &pid);
    robot::Click(welcome, IDOK);
    EXPECT_EQ(RemovalMessage(pid), kRemovedText);

    EXPECT_FALSE(testfs::Exists(destination_ + "\\korva.exe"));
    EXPECT_FALSE(testfs::Exists(testfs::KorvaIniPath()));
    EXPECT_TRUE(robot::WaitUntil([] { return !testfs::Exists(GroupFolder()); }, 5000));
    // The removal ends its program: no window of it is left.
    robot::WindowQuery left;
    left.processId = pid;
    EXPECT_TRUE(robot::WaitUntil([&] { return robot::FindWindows(left).empty(); }));
}

namespace {

struct Refusal {
    const char* name;
    bool settingsFile;
    bool korvaDir;
    bool marker;
};

void PrintTo(const Refusal& refusal, std::ostream* out) {
    *out << refusal.name;
}

class Refusals : public Removal, public ::testing::WithParamInterface<Refusal> {};

} // namespace

TEST_P(Refusals, NothingIsRemovedAndTheRemovalSaysSo) {
    const Refusal& r = GetParam();
    MakeHandInstallation(r.marker);
    const std::string settings =
        r.korvaDir ? KorvaDirSettings() : "[Installazione]\r\nVersione_di_KORVA=3.04\r\n";
    if (r.settingsFile) {
        WriteSettings(settings);
    }
    const std::vector<std::string> before = testfs::ListTree(destination_);

    InstallerRun removal(cd_);
    StartRemoval(removal);
    EXPECT_EQ(RemovalMessage(removal.Pid()), kNothingText);
    EXPECT_EQ(removal.WaitExit(), 0);

    EXPECT_EQ(Joined(testfs::ListTree(destination_)), Joined(before));
    EXPECT_EQ(testfs::Exists(testfs::KorvaIniPath()), r.settingsFile);
    if (r.settingsFile) {
        EXPECT_EQ(testfs::ReadFile(testfs::KorvaIniPath()), settings);
    }
    EXPECT_EQ(Joined(GroupItems()), "KORVA '98 3.04.lnk\n");
}

INSTANTIATE_TEST_SUITE_P(Removal, Refusals,
                         ::testing::Values(Refusal{"NoSettingsFile", false, false, true},
                                           Refusal{"NoKorvaDir", true, false, true},
                                           Refusal{"NoMarkerFile", true, true, false}),
                         [](const ::testing::TestParamInfo<Refusal>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(Removal, AFileThatCannotBeDeletedStopsTheRemovalAndTheCoverStays) {
    MakeHandInstallation(true);
    WriteSettings(KorvaDirSettings());
    // Held open without delete sharing: the removal cannot delete it.
    HANDLE held = CreateFileA((destination_ + "\\b.txt").c_str(), GENERIC_READ, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    InstallerRun removal(cd_);
    StartRemoval(removal);
    HWND cover = removal.WaitWindow(kCoverTitle);
    ASSERT_NE(cover, nullptr);
    // Subdirectories first, then the directory's files in name order, up to the held one.
    EXPECT_TRUE(robot::WaitUntil([&] {
        return !testfs::Exists(destination_ + "\\a.txt") &&
               !testfs::Exists(destination_ + "\\sub\\x.txt");
    }));
    ASSERT_TRUE(robot::Sync(cover));
    EXPECT_TRUE(robot::HoldsFor([&] { return removal.CountAllWindows() == 1u; }, 300))
        << "only the cover, no message";
    EXPECT_EQ(removal.ExitCode(), -1);
    CloseHandle(held);

    EXPECT_EQ(Joined(testfs::ListTree(destination_)), Joined({"b.txt", "c.txt", "korva.wmf"}));
    EXPECT_TRUE(testfs::Exists(destination_ + "\\sub"));
    EXPECT_EQ(testfs::ReadFile(testfs::KorvaIniPath()), KorvaDirSettings());
    EXPECT_EQ(Joined(GroupItems()), "KORVA '98 3.04.lnk\n");

    // Escape (the dialog's cancel command) closes the cover and ends the program.
    ASSERT_TRUE(robot::SendCommand(cover, IDCANCEL));
    EXPECT_EQ(removal.WaitExit(), 0);
}

namespace {

std::string ShortName(const std::string& path) {
    char shortPath[MAX_PATH] = {};
    const DWORD length = GetShortPathNameA(path.c_str(), shortPath, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(shortPath, length) : path;
}

// A "KorvaDir" the removal must refuse, where the map program's marker is planted.
struct Hostile {
    const char* name;
    const char* korvaDir;  // "" for the cases built in the test
    const char* markerDir; // where korva.wmf lies, so that only the guard stands in the way
};

void PrintTo(const Hostile& hostile, std::ostream* out) {
    *out << hostile.name;
}

class HostileDirectories : public Removal, public ::testing::WithParamInterface<Hostile> {};

const char* kProgramFiles = "C:\\Program Files";

} // namespace

// korva.ini names both keys the same, as a damaged or planted file could: only the removal's
// own judgement of the directory stands between the user and the loss of the drive.
TEST_P(HostileDirectories, NothingOnTheDriveIsDeletedAndTheRemovalSaysSo) {
    const Hostile& h = GetParam();
    MakeHandInstallation(true);
    std::string korvaDir = h.korvaDir;
    std::string recorded = h.korvaDir;
    std::string markerDir = h.markerDir;
    if (std::string(h.name) == "ShortNameOfProgramFiles") {
        korvaDir = recorded = ShortName(kProgramFiles);
        ASSERT_NE(korvaDir, kProgramFiles) << "the prefix gives Program Files no short name";
    } else if (std::string(h.name) == "NotTheInstalledDirectory") {
        korvaDir = destination_;
        recorded = destination_ + "-altra";
        testfs::MakeDirs(recorded);
        markerDir = destination_;
    }
    ASSERT_TRUE(testfs::Exists(markerDir));
    testfs::ScopedFile marker(markerDir + (markerDir.back() == '\\' ? "" : "\\") + "korva.wmf",
                              "marker");
    const std::string settings = Settings(recorded, korvaDir);
    WriteSettings(settings);
    const std::vector<std::string> before = DriveListing();

    InstallerRun removal(cd_);
    StartRemoval(removal);
    EXPECT_EQ(RemovalMessage(removal.Pid()), kNothingText);
    EXPECT_EQ(removal.WaitExit(), 0);

    EXPECT_EQ(Joined(Missing(before, DriveListing())), "");
    EXPECT_EQ(testfs::ReadFile(testfs::KorvaIniPath()), settings);
    EXPECT_EQ(Joined(GroupItems()), "KORVA '98 3.04.lnk\n");
}

INSTANTIATE_TEST_SUITE_P(
    Removal, HostileDirectories,
    ::testing::Values(Hostile{"ParentOfWindows", "C:\\windows\\..", "C:\\"},
                      Hostile{"RootWithDot", "C:\\.", "C:\\"},
                      Hostile{"RootWithSlash", "c:/", "C:\\"},
                      Hostile{"ProgramFiles", "C:\\Program Files", "C:\\Program Files"},
                      Hostile{"ShortNameOfProgramFiles", "", "C:\\Program Files"},
                      Hostile{"NotTheInstalledDirectory", "", ""}),
    [](const ::testing::TestParamInfo<Hostile>& info) { return std::string(info.param.name); });

// A link inside the installation that leads out of the prefix, into the build tree: the
// removal empties the installation and leaves the link and everything it leads to.
TEST_F(Removal, ALinkOutOfTheInstallationIsNotFollowed) {
    MakeHandInstallation(true);
    WriteSettings(KorvaDirSettings());
    const testfs::ScopedOutsideDir outsideDir("link-target-" + TestName());
    const std::string& outside = outsideDir.Path();
    ASSERT_EQ(testfs::UnixPath(outside).rfind(testfs::UnixPath("C:\\"), 0), std::string::npos)
        << "the link must lead out of the prefix";
    testfs::MakeDirs(outside + "\\sub");
    testfs::WriteFile(outside + "\\keep.txt", "outside");
    testfs::WriteFile(outside + "\\sub\\deep.txt", "outside");
    testfs::ScopedLink link(destination_ + "\\fuori", outside);
    testfs::ScopedLink nested(destination_ + "\\sub\\altrove", outside);

    // How Wine shows a link to a directory: a directory that is a reparse point, to the
    // attributes and to the directory listing alike.
    const DWORD linkAttributes = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    EXPECT_EQ(GetFileAttributesA((destination_ + "\\fuori").c_str()), linkAttributes);
    const std::vector<WIN32_FIND_DATAA> entries = testfs::FindEntries(destination_ + "\\fuori");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].dwFileAttributes, linkAttributes);

    InstallerRun removal(cd_);
    StartRemoval(removal);
    EXPECT_EQ(RemovalMessage(removal.Pid()), kRemovedText);
    EXPECT_EQ(removal.WaitExit(), 0);

    EXPECT_EQ(Joined(testfs::ListTree(outside)), Joined({"keep.txt", "sub\\deep.txt"}));
    EXPECT_EQ(Joined(testfs::ListTree(destination_)), Joined({"fuori", "sub\\altrove"}));
    EXPECT_FALSE(testfs::Exists(testfs::KorvaIniPath()));
}
