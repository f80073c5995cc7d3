// ctlupdate as the user meets it: the real program in the prefix, its message boxes answered
// by the robot, and the files it leaves in the system directory and "wininit.ini". An old
// library is shown to the probe by placing the old stand-in "comctl32.dll" beside the program
// and letting Wine load it instead of its own (a DLL override for this program only).
#include "common_controls_state.h"
#include "dll_override.h"
#include "ini_value.h"
#include "robot.h"
#include "scratch.h"
#include "tests/support/shell_state.h"
#include "test_name.h"

#include <windows.h>

#include <gtest/gtest.h>

using e2e::LibraryPath;
using e2e::RenameLines;
using e2e::SystemDir;
using e2e::VersionTemporaries;
using e2e::WininitPath;

namespace {

const char* kCaption = "KORVA (www.korva.it, tel. 011 5612340) - Aggiornamento di comctl32.dll";
const char* kOnlyWindows95 = "Questo aggiornamento deve essere fatto solo per Windows 95";
const char* kAskContinue =
    "Questo programma effettuerà l'aggiornamento di una libreria di WINDOWS 95 A che consentirà "
    "di eseguire correttamente programmi di nuova generazione.Continuare ?";
const char* kNotNeeded = "Dall'analisi del sistema risulta che non è necessario l'aggiornamento";
const char* kAskProceed = "ATTENZIONE:Dopo aver effettuato questo aggiornamento sarà necessario "
                          "riavviare il sistema.\nSi deve procedere all'aggiornamento ?";
const char* kDone = "L'aggiornamento è stato effettuato con esito positivo.Adesso è necessario "
                    "chiudere tutti i programmi in corso e riavviare il sistema(Fate click su "
                    "\"Avvio\\Chiudi sessione\\Riavvia il sistema\")";
const char* kFailed = "Non è stato possibile effettuare l'aggiornamento della libreria "
                      "comctl32.dll: il sistema non è stato modificato e non è necessario "
                      "riavviarlo.";

bool IsWindows95Family() {
    return (GetVersion() & 0x80000000u) != 0;
}

std::string CompressedPath() {
    return SystemDir() + "\\comctl32.tm_";
}
std::string ExpandedPath() {
    return SystemDir() + "\\comctl32.tmp";
}

// The value of the library's rename line, "<none>" when there is none.
std::string RenameValue() {
    return testfs::IniValue(WininitPath(), "rename", LibraryPath().c_str(), "<none>");
}

// Which common-controls library the program finds.
enum class Library { Platform, Old, Unloadable };

class CtlUpdate : public ::testing::Test {
protected:
    void SetUp() override {
        if (!IsWindows95Family()) {
            GTEST_SKIP() << "the update runs in the Windows 95 prefix";
        }
        CleanSystem();
    }
    void TearDown() override { CleanSystem(); }

    // Nothing of an update may stay in the prefix: a rename line would replace Wine's own
    // library at the next start of the wineserver.
    static void CleanSystem() { testfs::CleanCommonControls({CompressedPath(), ExpandedPath()}); }

    void Start(Library library) {
        std::string dir = testfs::FreshScratchDir(std::string("ctlupdate-") + testfs::TestName());
        testfs::CopyFileOrFail(testfs::WindowsPath(KORVA_CTLUPDATE_UNIX), dir + "\\ctlupdate.exe");
        if (library == Library::Old) {
            testfs::CopyFileOrFail(testfs::WindowsPath(KORVA_OLD_COMCTL_UNIX),
                                   dir + "\\comctl32.dll");
            ASSERT_TRUE(overrides_.Set("comctl32", "native"));
        } else if (library == Library::Unloadable) {
            ASSERT_TRUE(overrides_.Set("comctl32", ""));
        }
        bool started = process_.Start(dir + "\\ctlupdate.exe", "", dir);
        ASSERT_TRUE(started);
    }

    // Waits for the message box with `text`, checks its caption, and presses `button`.
    void Answer(const char* text, int button) {
        HWND box = robot::WaitForMessageBox(process_.Id(), text);
        ASSERT_NE(box, nullptr) << "no message box: " << text << "\nshown: " << Shown();
        EXPECT_EQ(robot::Text(box), kCaption);
        EXPECT_EQ(robot::MessageBoxText(box), text);
        EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
        ASSERT_TRUE(robot::Click(box, button));
        lastBox_ = box;
    }

    // The texts of the program's windows, for failure messages.
    std::string Shown() {
        robot::WindowQuery query;
        query.processId = process_.Id();
        std::string texts;
        for (HWND window : robot::FindWindows(query)) {
            texts.append("[").append(robot::Text(window)).append(": ");
            texts.append(robot::MessageBoxText(window)).append("] ");
        }
        return texts;
    }

    // The program ends with code 0 and shows no other window on the way.
    void ExpectEndsQuietly() {
        robot::WindowQuery query;
        query.processId = process_.Id();
        query.exclude = lastBox_; // the box just answered may take a moment to go
        bool sawWindow = false;
        long code = -1;
        robot::WaitUntil([&] {
            code = process_.Wait(0);
            if (code == -1 && !robot::FindWindows(query).empty()) {
                sawWindow = true;
            }
            return code != -1;
        });
        EXPECT_FALSE(sawWindow);
        EXPECT_EQ(code, 0);
    }

    void ExpectEnds() { EXPECT_EQ(process_.Wait(), 0); }

    // Yes to both questions, OK at the box that tells the `outcome`, and the end of the program.
    void UpdateEndingWith(const char* outcome) {
        Answer(kAskContinue, IDYES);
        Answer(kAskProceed, IDYES);
        Answer(outcome, IDOK);
        ExpectEnds();
    }

    static void ExpectNothingWritten() {
        EXPECT_FALSE(testfs::Exists(CompressedPath()));
        EXPECT_FALSE(testfs::Exists(ExpandedPath()));
        EXPECT_EQ(RenameValue(), "<none>");
    }

    // Under Wine a link to a file looks like an ordinary file: writing or deleting through its
    // name would overwrite or delete the file it leads to. The update refuses instead.
    void ExpectALinkUnderTheNameIsLeftAlone(const std::string& name) {
        const testfs::ScopedOutsideDir outsideDir("ctlupdate-" + testfs::TestName());
        const std::string target = outsideDir.Path() + "\\altrui.dll";
        testfs::WriteFile(target, "somebody else's library");
        {
            testfs::ScopedLink link(name, target);
            Start(Library::Old);
            UpdateEndingWith(kFailed);
            EXPECT_TRUE(testfs::Exists(name)) << "the link itself was deleted";
        }
        EXPECT_EQ(testfs::ReadFile(target), "somebody else's library");
        EXPECT_EQ(RenameValue(), "<none>");
        EXPECT_FALSE(testfs::Exists(CompressedPath()));
        EXPECT_FALSE(testfs::Exists(ExpandedPath()));
    }

    HWND lastBox_ = nullptr;
    winetest::ScopedDllOverrides overrides_{"ctlupdate.exe"};
    robot::Process process_;
};

} // namespace

TEST_F(CtlUpdate, CurrentLibraryNeedsNoUpdate) {
    Start(Library::Platform); // Wine's own library exports DllGetVersion
    Answer(kAskContinue, IDYES);
    Answer(kNotNeeded, IDOK);
    ExpectEnds();
    ExpectNothingWritten();
}

TEST_F(CtlUpdate, LibraryThatCannotBeLoadedCountsAsCurrent) {
    Start(Library::Unloadable);
    Answer(kAskContinue, IDYES);
    Answer(kNotNeeded, IDOK);
    ExpectEnds();
    ExpectNothingWritten();
}

TEST_F(CtlUpdate, NoAtTheFirstQuestionEndsWithNothingWritten) {
    Start(Library::Old);
    Answer(kAskContinue, IDNO);
    ExpectEndsQuietly();
    ExpectNothingWritten();
}

TEST_F(CtlUpdate, NoAtTheSecondQuestionEndsWithNothingWritten) {
    Start(Library::Old);
    Answer(kAskContinue, IDYES);
    Answer(kAskProceed, IDNO);
    ExpectEndsQuietly();
    ExpectNothingWritten();
}

TEST_F(CtlUpdate, UpdateExpandsTheCarriedLibraryAndSchedulesTheRename) {
    Start(Library::Old);
    UpdateEndingWith(kDone);
    EXPECT_TRUE(testfs::ReadFile(CompressedPath()) ==
                testfs::ReadFile(testfs::WindowsPath(KORVA_CARRIED_SZDD_UNIX)));
    std::string library = testfs::ReadFile(testfs::WindowsPath(KORVA_CARRIED_LIBRARY_UNIX));
    ASSERT_FALSE(library.empty());
    EXPECT_TRUE(testfs::ReadFile(ExpandedPath()) == library) << "expanded library differs";
    EXPECT_EQ(RenameValue(), ExpandedPath());
    std::vector<std::string> lines = RenameLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], LibraryPath() + "=" + ExpandedPath());
}

TEST_F(CtlUpdate, LongerCompressedFileFromBeforeIsReplacedWhole) {
    std::string carried = testfs::ReadFile(testfs::WindowsPath(KORVA_CARRIED_SZDD_UNIX));
    testfs::WriteFile(CompressedPath(), std::string(carried.size() + 100000, 'X'));
    Start(Library::Old);
    UpdateEndingWith(kDone);
    EXPECT_TRUE(testfs::ReadFile(CompressedPath()) == carried);
    EXPECT_TRUE(testfs::ReadFile(ExpandedPath()) ==
                testfs::ReadFile(testfs::WindowsPath(KORVA_CARRIED_LIBRARY_UNIX)));
}

TEST_F(CtlUpdate, UpdateThatCannotWriteSaysSoAndSchedulesNothing) {
    // A directory where the compressed file should go cannot be written as a file.
    testfs::MakeDirs(CompressedPath());
    Start(Library::Old);
    UpdateEndingWith(kFailed);
    EXPECT_FALSE(testfs::Exists(ExpandedPath()));
    EXPECT_EQ(RenameValue(), "<none>");
}

TEST_F(CtlUpdate, UpdateThatCannotExpandSaysSoAndSchedulesNothing) {
    // A directory in place of the expanded file: the version installer cannot create it.
    testfs::MakeDirs(ExpandedPath());
    Start(Library::Old);
    UpdateEndingWith(kFailed);
    EXPECT_EQ(RenameValue(), "<none>");
    EXPECT_FALSE(testfs::Exists(CompressedPath())) << "the compressed file was left behind";
}

TEST_F(CtlUpdate, StaleExpandedFileThatCannotBeReplacedSaysSoAndSchedulesNothing) {
    const std::string stale = "a stale library from an earlier attempt";
    testfs::WriteFile(ExpandedPath(), stale);
    const std::vector<std::string> temporariesBefore = VersionTemporaries();
    {
        testfs::ScopedReadOnly locked(ExpandedPath());
        Start(Library::Old);
        UpdateEndingWith(kFailed);
    }
    EXPECT_EQ(RenameValue(), "<none>");
    EXPECT_TRUE(RenameLines().empty());
    // The earlier file is not the program's: it stays as it was. What the program wrote
    // itself is gone.
    EXPECT_EQ(testfs::ReadFile(ExpandedPath()), stale);
    EXPECT_FALSE(testfs::Exists(CompressedPath()));
    EXPECT_EQ(VersionTemporaries(), temporariesBefore);
}

TEST_F(CtlUpdate, StaleExpandedFileThatCanBeReplacedGivesWayToTheCarriedLibrary) {
    testfs::WriteFile(ExpandedPath(), "a stale library from an earlier attempt");
    Start(Library::Old);
    UpdateEndingWith(kDone);
    std::string library = testfs::ReadFile(testfs::WindowsPath(KORVA_CARRIED_LIBRARY_UNIX));
    ASSERT_FALSE(library.empty());
    EXPECT_TRUE(testfs::ReadFile(ExpandedPath()) == library) << "expanded library differs";
    EXPECT_EQ(RenameLines(), std::vector<std::string>{LibraryPath() + "=" + ExpandedPath()});
}

TEST_F(CtlUpdate, ALinkUnderTheCompressedNameIsNotWrittenThrough) {
    ExpectALinkUnderTheNameIsLeftAlone(CompressedPath());
}

TEST_F(CtlUpdate, ALinkUnderTheExpandedNameIsNotDeletedThrough) {
    ExpectALinkUnderTheNameIsLeftAlone(ExpandedPath());
}

// The profile service reports the line as written even when the disk refused it: the update
// reads it back, and without it nothing is scheduled and the user is not told of success.
TEST_F(CtlUpdate, ARestartListThatCannotBeWrittenIsAFailureNotASuccess) {
    testfs::WriteFile(WininitPath(), "[rename]\r\n");
    {
        testfs::ScopedReadOnly locked(WininitPath());
        Start(Library::Old);
        UpdateEndingWith(kFailed);
    }
    EXPECT_EQ(testfs::ReadFile(WininitPath()), "[rename]\r\n");
    EXPECT_FALSE(testfs::Exists(CompressedPath()));
    EXPECT_FALSE(testfs::Exists(ExpandedPath()));
}

TEST(CtlUpdateOnNt, RefusesOutsideTheWindows95Family) {
    if (IsWindows95Family()) {
        GTEST_SKIP() << "the refusal shows in the NT prefix";
    }
    std::string dir = testfs::FreshScratchDir("ctlupdate-nt");
    testfs::CopyFileOrFail(testfs::WindowsPath(KORVA_CTLUPDATE_UNIX), dir + "\\ctlupdate.exe");
    robot::Process process;
    ASSERT_TRUE(process.Start(dir + "\\ctlupdate.exe", "", dir));
    HWND box = robot::WaitForMessageBox(process.Id(), kOnlyWindows95);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(robot::Text(box), kCaption);
    EXPECT_EQ(robot::MessageBoxText(box), kOnlyWindows95);
    EXPECT_NE(GetDlgItem(box, IDOK), nullptr);
    EXPECT_EQ(GetDlgItem(box, IDNO), nullptr);
    ASSERT_TRUE(robot::Click(box, IDOK));
    EXPECT_EQ(process.Wait(), 0);
    EXPECT_FALSE(testfs::Exists(CompressedPath()));
    EXPECT_FALSE(testfs::Exists(ExpandedPath()));
    EXPECT_EQ(RenameValue(), "<none>");
}
