// The end of a completed installation as the user meets it: the recent-file list of the map
// program, the Program Manager question and group, the common-controls library check with
// its three final messages, and the restart that puts the copied library in place.
#include "closing_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace e2e;

// ---- Common-controls library: the three final messages ----

struct LibraryCase {
    const char* name;
    Library library;
    int copyAnswer; // answer at the failed copy of the library; 0: the copy succeeds
    const char* finalBegins;
    bool scheduled;
};

void PrintTo(const LibraryCase& c, std::ostream* out) {
    *out << c.name;
}

class CommonControls : public Closing, public ::testing::WithParamInterface<LibraryCase> {};

TEST_P(CommonControls, FinalMessageAndRestartInstruction) {
    const LibraryCase& c = GetParam();
    UseLibrary(c.library);
    if (c.copyAnswer) {
        // A directory where the copy should go: the copy fails whatever the system.
        testfs::MakeDirs(TemporaryPath());
    }
    InstallerRun run(cd_);
    InstallUpToTheQuestion(run, IDNO);
    if (c.copyAnswer) {
        // The destination is at fault, and named; the user is not sent to change the CD.
        HWND box = run.WaitMessage("comctl32.tm2");
        ASSERT_NE(box, nullptr);
        const std::string text = robot::MessageBoxText(box);
        EXPECT_EQ(text.rfind("Impossibile scrivere \"" + TemporaryPath() +
                                 "\" sul disco di destinazione: ",
                             0),
                  0u)
            << text;
        EXPECT_EQ(text.find("Inserire il dischetto"), std::string::npos) << text;
        EXPECT_EQ(robot::Text(box), "Installazione di  KORVA '98 3.04");
        robot::Click(box, c.copyAnswer);
    }
    const std::string text = FinalMessage(run, std::string(c.finalBegins).substr(0, 20));
    EXPECT_EQ(text.rfind(c.finalBegins, 0), 0u) << text;

    if (c.scheduled) {
        EXPECT_EQ(Joined(RenameLines()), LibraryPath() + "=" + TemporaryPath() + "\n");
        if (!c.copyAnswer) {
            EXPECT_TRUE(testfs::ReadFile(TemporaryPath()) ==
                        testfs::ReadFile(cd_ + "\\comctl32.dll"));
        }
    } else {
        EXPECT_EQ(Joined(RenameLines()), "");
        if (!c.copyAnswer) {
            EXPECT_FALSE(testfs::Exists(TemporaryPath()));
        }
    }
    // Whatever the library, the installation itself is complete.
    EXPECT_EQ(Joined(CompareInstalledTree(Expect(1))), "");
}

INSTANTIATE_TEST_SUITE_P(
    Libraries, CommonControls,
    ::testing::Values(
        LibraryCase{"Current", Library::Platform, 0, kDoneFirstLines, false},
        LibraryCase{"Unloadable", Library::Unloadable, 0, kDoneFirstLines, false},
        LibraryCase{"Old", Library::Old, 0, kRestartText, true},
        LibraryCase{"OldCopyAborted", Library::Old, IDABORT, kIncompatibleStart, false},
        // What lies under the temporary name after Ignore is not the library:
        // nothing is scheduled.
        LibraryCase{"OldCopyIgnored", Library::Old, IDIGNORE, kIncompatibleStart, false}),
    [](const ::testing::TestParamInfo<LibraryCase>& info) { return std::string(info.param.name); });

// ---- An earlier file under the temporary name ----

// The copy prompt of the library, checked, answered with `answer`: the write-protected
// temporary name is the destination at fault, and it is named.
void AnswerLibraryCopyPrompt(InstallerRun& run, const std::string& temporaryPath, int answer) {
    HWND box = run.WaitMessage("comctl32.tm2");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(robot::MessageBoxText(box), "Impossibile scrivere \"" + temporaryPath +
                                              "\" sul disco di destinazione: la destinazione è "
                                              "protetta da scrittura.  Risolvere il problema e "
                                              "riprovare.");
    ASSERT_TRUE(robot::Click(box, answer));
    // A Retry brings a box just like it: this one must be gone first.
    EXPECT_TRUE(robot::WaitForWindowGone(box));
}

TEST_F(Closing, AnEarlierCopyThatCannotBeReplacedIsNeverScheduled) {
    const std::string stale = "a copy left by an earlier installation";
    testfs::WriteFile(TemporaryPath(), stale);
    UseLibrary(Library::Old);
    std::string text;
    {
        testfs::ScopedReadOnly locked(TemporaryPath());
        InstallerRun run(cd_);
        InstallUpToTheQuestion(run, IDNO);
        AnswerLibraryCopyPrompt(run, TemporaryPath(), IDRETRY);
        AnswerLibraryCopyPrompt(run, TemporaryPath(), IDIGNORE);
        text = FinalMessage(run, std::string(kIncompatibleStart).substr(0, 20));
    }
    EXPECT_EQ(text.rfind(kIncompatibleStart, 0), 0u) << text;
    EXPECT_EQ(Joined(RenameLines()), "");
    // Not the installer's file: left as it was.
    EXPECT_EQ(testfs::ReadFile(TemporaryPath()), stale);
}

TEST_F(Closing, AnEarlierCopyThatIsTheLibraryIsScheduledAfterIgnore) {
    testfs::CopyFileOrFail(cd_ + "\\comctl32.dll", TemporaryPath());
    UseLibrary(Library::Old);
    std::string text;
    {
        testfs::ScopedReadOnly locked(TemporaryPath());
        InstallerRun run(cd_);
        InstallUpToTheQuestion(run, IDNO);
        AnswerLibraryCopyPrompt(run, TemporaryPath(), IDIGNORE);
        text = FinalMessage(run, "ATTENZIONE");
    }
    EXPECT_EQ(text, kRestartText);
    EXPECT_EQ(Joined(RenameLines()), LibraryPath() + "=" + TemporaryPath() + "\n");
}

TEST_F(Closing, AnEarlierCopyThatCanBeReplacedGivesWayToTheLibrary) {
    testfs::WriteFile(TemporaryPath(), "a copy left by an earlier installation");
    UseLibrary(Library::Old);
    InstallerRun run(cd_);
    InstallUpToTheQuestion(run, IDNO);
    EXPECT_EQ(FinalMessage(run, "ATTENZIONE"), kRestartText);
    EXPECT_TRUE(testfs::ReadFile(TemporaryPath()) == testfs::ReadFile(cd_ + "\\comctl32.dll"));
    EXPECT_EQ(Joined(RenameLines()), LibraryPath() + "=" + TemporaryPath() + "\n");
}

// The restart of the Windows 95 family carries out the rename line. Shown on throwaway
// names: the prefix's own library must stay.
TEST_F(Closing, TheRestartPutsTheCopiedLibraryInPlaceOfTheNamedFile) {
    if (!(GetVersion() & 0x80000000u)) {
        GTEST_SKIP() << "the restart rename is a Windows 95 family instruction";
    }
    UseLibrary(Library::Old);
    InstallerRun run(cd_);
    InstallUpToTheQuestion(run, IDNO);
    EXPECT_EQ(FinalMessage(run, "ATTENZIONE"), kRestartText);
    ASSERT_EQ(Joined(RenameLines()), LibraryPath() + "=" + TemporaryPath() + "\n");

    // The same instruction, moved onto throwaway names.
    const std::string dir = testfs::FreshScratchDir(TestName() + "-restart");
    const std::string library = dir + "\\comctl32.dll";
    const std::string copy = dir + "\\comctl32.tm2";
    testfs::WriteFile(library, "the library before the restart");
    testfs::CopyFileOrFail(TemporaryPath(), copy);
    CleanCommonControls();
    ASSERT_FALSE(testfs::Exists(WininitPath())) << "wininit.ini holds other instructions";
    WritePrivateProfileStringA("rename", library.c_str(), copy.c_str(), WininitPath().c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, WininitPath().c_str());

    robot::Process restart;
    ASSERT_TRUE(restart.Start(SystemDir() + "\\wineboot.exe", "-r"));
    EXPECT_EQ(restart.Wait(60000), 0);
    EXPECT_TRUE(testfs::ReadFile(library) == testfs::ReadFile(cd_ + "\\comctl32.dll"));
    EXPECT_FALSE(testfs::Exists(copy));
    EXPECT_FALSE(testfs::Exists(WininitPath()));
    testfs::DeleteFileIfAny(testfs::WindowsDir() + "\\wininit.bak");
}

// ---- Temporary names that are not plain files, restart lists that cannot be written ----

// A link under the temporary name (a Linux symbolic link, which Wine shows as an ordinary
// file): neither the file it leads to nor the link is written or deleted.
TEST_F(Closing, ALinkUnderTheTemporaryNameIsADestinationFaultAndLeadsNowhere) {
    const testfs::ScopedOutsideDir outsideDir("tm2-" + TestName());
    const std::string target = outsideDir.Path() + "\\altrui.dll";
    testfs::WriteFile(target, "somebody else's library");
    UseLibrary(Library::Old);
    std::string text;
    {
        testfs::ScopedLink link(TemporaryPath(), target);
        InstallerRun run(cd_);
        InstallUpToTheQuestion(run, IDNO);
        for (int answer : {IDRETRY, IDIGNORE}) {
            HWND box = run.WaitMessage("comctl32.tm2");
            ASSERT_NE(box, nullptr) << Shown(run.Pid());
            EXPECT_EQ(robot::MessageBoxText(box),
                      "Impossibile scrivere \"" + TemporaryPath() +
                          "\" sul disco di destinazione: al posto del file c'è un collegamento o "
                          "una directory.  Risolvere il problema e riprovare.");
            ASSERT_TRUE(robot::Click(box, answer));
            EXPECT_TRUE(robot::WaitForWindowGone(box));
        }
        text = FinalMessage(run, std::string(kIncompatibleStart).substr(0, 20));
        EXPECT_TRUE(testfs::Exists(TemporaryPath())) << "the link itself was deleted";
    }
    EXPECT_EQ(text.rfind(kIncompatibleStart, 0), 0u) << text;
    EXPECT_EQ(testfs::ReadFile(target), "somebody else's library");
    EXPECT_EQ(Joined(RenameLines()), "");
}

// The platform's profile service says the line is written even when the disk refused it: only
// the line read back from the disk counts.
TEST_F(Closing, ARestartListThatCannotBeWrittenSchedulesNothingAndSaysSo) {
    testfs::WriteFile(WininitPath(), "[rename]\r\n");
    UseLibrary(Library::Old);
    std::string text;
    {
        testfs::ScopedReadOnly locked(WininitPath());
        InstallerRun run(cd_);
        InstallUpToTheQuestion(run, IDNO);
        text = FinalMessage(run, std::string(kIncompatibleStart).substr(0, 20));
    }
    EXPECT_EQ(text.rfind(kIncompatibleStart, 0), 0u) << text;
    EXPECT_EQ(testfs::ReadFile(WininitPath()), "[rename]\r\n");
    EXPECT_FALSE(testfs::Exists(TemporaryPath())) << "the copy made for the restart stayed";
}

namespace {

// A file of the prefix put back as it was when the scope ends, however it ends.
class ScopedFileBackup {
public:
    explicit ScopedFileBackup(std::string path)
        : path_(std::move(path)), content_(testfs::ReadFile(path_)) {}
    ~ScopedFileBackup() {
        if (testfs::ReadFile(path_) != content_) {
            testfs::WriteFile(path_, content_);
        }
    }
    ScopedFileBackup(const ScopedFileBackup&) = delete;
    ScopedFileBackup& operator=(const ScopedFileBackup&) = delete;
    const std::string& Content() const { return content_; }

private:
    std::string path_;
    std::string content_;
};

} // namespace

// On 64-bit Windows the restart runs with 64-bit eyes: its system32 is the 64-bit system
// directory. The line names the 32-bit directory as the restart knows it, so that the 32-bit
// library the final message speaks of is the one replaced. Shown on the prefix's own libraries,
// which are put back afterwards.
TEST_F(Closing, UnderWow64TheRestartReplacesThe32BitLibraryAndLeavesThe64BitOne) {
    if (!testfs::RunsUnderWow64()) {
        GTEST_SKIP() << "WoW64 is the 64-bit prefix's";
    }
    const std::string wow64 = testfs::WindowsDir() + "\\syswow64";
    const std::string native = testfs::WindowsDir() + "\\sysnative";
    UseLibrary(Library::Old);
    InstallerRun run(cd_);
    InstallUpToTheQuestion(run, IDNO);
    EXPECT_EQ(FinalMessage(run, "ATTENZIONE"), kRestartText);
    ASSERT_EQ(Joined(RenameLines()), wow64 + "\\comctl32.dll=" + wow64 + "\\comctl32.tm2\n");

    const ScopedFileBackup library32(wow64 + "\\comctl32.dll");
    const ScopedFileBackup library64(native + "\\comctl32.dll");
    ASSERT_FALSE(library64.Content().empty());
    ASSERT_TRUE(library32.Content() != testfs::ReadFile(cd_ + "\\comctl32.dll"));
    robot::Process restart; // the 64-bit restart, as the system runs it
    ASSERT_TRUE(restart.Start(native + "\\wineboot.exe", "-r"));
    EXPECT_EQ(restart.Wait(60000), 0);
    EXPECT_TRUE(testfs::ReadFile(wow64 + "\\comctl32.dll") ==
                testfs::ReadFile(cd_ + "\\comctl32.dll"));
    EXPECT_TRUE(testfs::ReadFile(native + "\\comctl32.dll") == library64.Content());
    EXPECT_FALSE(testfs::Exists(TemporaryPath()));
    EXPECT_FALSE(testfs::Exists(WininitPath()));
    testfs::DeleteFileIfAny(testfs::WindowsDir() + "\\wininit.bak");
}

// ---- Program Manager group ----

TEST_F(Closing, YesCreatesTheGroupAndASecondInstallationReplacesItsItems) {
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round == 0 ? "first installation" : "second installation");
        InstallerRun run(cd_);
        InstallUpToTheQuestion(run, IDYES, round == 1);
        EXPECT_EQ(FinalMessage(run, "L'installazione").rfind(kDoneFirstLines, 0), 0u);
        EXPECT_EQ(Joined(ItemsOnceSettled(kAllItems)), Joined(kAllItems));
        EXPECT_TRUE(SamePath(ItemTarget("KORVA '98 3.04.lnk"), destination_ + "\\korva.exe"));
        EXPECT_TRUE(SamePath(ItemTarget("Guida.lnk"), destination_ + "\\korva.hlp"));
        EXPECT_TRUE(SamePath(ItemTarget("Edizioni Korva.lnk"), cd_ + "\\kdemo\\kdemo.exe"));
        EXPECT_TRUE(SamePath(ItemTarget("Rimozione di KORVA.lnk"), cd_ + "\\delkorva.exe"));
        EXPECT_TRUE(SamePath(ItemTarget("Installazioni Korva.lnk"), cd_ + "\\setup.exe"));
        // Spoil one item: the next installation must put it back.
        testfs::WriteFile(GroupFolder() + "\\Guida.lnk", "not a shortcut");
        EXPECT_EQ(ItemTarget("Guida.lnk"), "");
        CloseGroupWindowOnceShown();
    }
}

TEST_F(Closing, WithoutTheDemonstrationProgramThereIsNoEditionsItem) {
    testfs::DeleteFileIfAny(cd_ + "\\kdemo\\kdemo.exe");
    InstallerRun run(cd_);
    InstallUpToTheQuestion(run, IDYES);
    EXPECT_EQ(FinalMessage(run, "L'installazione").rfind(kDoneFirstLines, 0), 0u);
    std::vector<std::string> expected = kAllItems;
    expected.erase(expected.begin()); // "Edizioni Korva.lnk"
    EXPECT_EQ(Joined(ItemsOnceSettled(expected)), Joined(expected));
}

TEST_F(Closing, NoLeavesTheShellUntouchedAndTheInstallationCompletes) {
    UseLibrary(Library::Old);
    InstallerRun run(cd_);
    InstallUpToTheQuestion(run, IDNO);
    // The common-controls step still runs after the refusal.
    EXPECT_EQ(FinalMessage(run, "ATTENZIONE"), kRestartText);
    EXPECT_FALSE(testfs::Exists(GroupFolder()));
    robot::WindowQuery folders;
    folders.className = "ExplorerWClass";
    EXPECT_TRUE(robot::FindWindows(folders).empty());
    EXPECT_EQ(IniValue(testfs::KorvaIniPath(), "Recent File List", "File1"),
              destination_ + "\\sicilia\\sicilia.vgr");
}

// ---- Recent-file list of the map program ----

TEST_F(Closing, ThreeAreasGoOnTopOfAnEarlierFourEntryRecentFileList) {
    const std::string demo = cd_ + "\\cd_ita\\Demo";
    testfs::MakeDirs(demo);
    for (const char* ext : {".vgr", ".are", ".map"}) {
        testfs::CopyFileOrFail(cd_ + "\\cd_ita\\sicilia\\sicilia" + std::string(ext),
                               demo + "\\Demo" + ext);
    }
    testfs::WriteFile(testfs::KorvaIniPath(),
                      "[Recent File List]\r\nFile1=C:\\vecchio\\uno.vgr\r\n"
                      "File2=C:\\vecchio\\due.vgr\r\nFile3=C:\\vecchio\\tre.vgr\r\n"
                      "File4=C:\\vecchio\\quattro.vgr\r\n");
    InstallerRun run(cd_);
    InstallUpToTheQuestion(run, IDNO);
    EXPECT_EQ(FinalMessage(run, "L'installazione").rfind(kDoneFirstLines, 0), 0u);
    const std::string ini = testfs::KorvaIniPath();
    EXPECT_EQ(IniValue(ini, "Recent File List", "File1"), destination_ + "\\sicilia\\sicilia.vgr");
    EXPECT_EQ(IniValue(ini, "Recent File List", "File2"), destination_ + "\\italia\\italia.vgr");
    EXPECT_EQ(IniValue(ini, "Recent File List", "File3"), destination_ + "\\Demo\\Demo.vgr");
    EXPECT_EQ(IniValue(ini, "Recent File List", "File4"), "C:\\vecchio\\uno.vgr");
}
