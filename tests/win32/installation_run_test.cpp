// The installation run in-process on a copy of the sample CD: an install outside an edition
// (source preset, data directories asked), the disk-space question, and runs that end early.
#include "ini_value.h"
#include "install/engine/engine.h"
#include "install/launcher/cover_dialog.h"
#include "scratch.h"
#include "tests/support/ui_thread.h"

#include <gtest/gtest.h>

#include <memory>

using namespace korva;

namespace {

const char* kPromptTitle = "Installazione di KORVA '98";
DWORD Self() {
    return GetCurrentProcessId();
}

std::uint32_t freeBytes = 0xFFFFFFFFu;
int freeBytesAsked = 0;
std::uint32_t FakeFreeBytes(const std::string&) {
    ++freeBytesAsked;
    return freeBytes;
}

using testfs::IniValue;

class InstallationRun : public ::testing::Test {
protected:
    void SetUp() override {
        cd_ = testfs::FreshScratchDir("run-cd");
        testfs::CopyTree(testfs::SampleCd() + "\\cd_ita", cd_);
        destination_ = "C:\\korva-run";
        testfs::RemoveTree(destination_);
        testfs::DeleteFileIfAny(testfs::KorvaIniPath());
        freeBytes = 0xFFFFFFFFu;
        freeBytesAsked = 0;
    }
    void TearDown() override { testfs::DeleteFileIfAny(testfs::KorvaIniPath()); }

    // Runs the installation from the copy of the CD as a source given by the launcher, but
    // outside an edition install, with `script` driving the dialogs.
    template <typename Script> int Run(Script script) {
        int result = -1;
        RunWithRobot(
            [&] {
                korva::Engine engine(PlatformProbes{FakeFreeBytes, PlatformPhysicalMemory});
                CCoverDlg cover(engine);
                CopyToField(cover.presetSourceDir, cd_);
                result = cover.RunInstallation();
                areas_ = cover.install_.areas;
            },
            script);
        return result;
    }

    static HWND WaitPrompt(const char* text) {
        robot::WindowQuery query = OwnWindow(kPromptTitle);
        query.textContains = text;
        return robot::WaitForWindow(query);
    }

    // Types into a prompt and continues; returns once the prompt has gone, so that the next
    // wait finds the next prompt and not this one.
    static bool Answer(HWND prompt, const std::string& text) {
        return prompt && robot::SetItemText(prompt, 1001, text) && robot::Click(prompt, IDOK) &&
               robot::WaitForWindowGone(prompt);
    }

    static HWND TypeDialog() { return robot::WaitForDialogWithControl(Self(), 1026); }

    // A completed run asks whether to create the program group; these tests decline.
    static void DeclineProgramGroup() {
        HWND box = robot::WaitForMessageBox(Self(), "Creazione dell'icona");
        ASSERT_NE(box, nullptr);
        robot::Click(box, IDNO);
    }

    // The rest of a run on the CD's two areas: each area's data directory as proposed, and no
    // program group.
    static void KeepEveryDataDirectoryAndDeclineTheGroup() {
        for (int area = 0; area < 2; ++area) {
            HWND prompt = WaitPrompt("cartine geografiche");
            ASSERT_NE(prompt, nullptr);
            robot::Click(prompt, IDOK);
            robot::WaitForWindowGone(prompt);
        }
        DeclineProgramGroup();
    }

    std::string cd_;
    std::string destination_;
    std::vector<AreaRecord> areas_;
};

} // namespace

TEST_F(InstallationRun, OutsideAnEditionEveryAreaAsksForItsDataDirectory) {
    // One new level under the program directory: only the last level of a path is created.
    const std::string typed = "c:\\korva-run\\isola\\";
    std::string promptText, firstDefault, secondDefault;
    int result = Run([&] {
        ASSERT_TRUE(Answer(WaitPrompt("verrà installato"), destination_));
        ASSERT_TRUE(robot::Click(TypeDialog(), 1026));
        HWND prompt = WaitPrompt("cartine geografiche");
        ASSERT_NE(prompt, nullptr);
        promptText = robot::ItemText(prompt, 1003);
        firstDefault = robot::ItemText(prompt, 1001);
        ASSERT_TRUE(Answer(prompt, typed));
        HWND second = WaitPrompt("cartine geografiche");
        ASSERT_NE(second, nullptr);
        secondDefault = robot::ItemText(second, 1001);
        robot::Click(second, IDOK);
        robot::WaitForWindowGone(second);
        DeclineProgramGroup();
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(promptText,
              "Inserire il percorso in cui installare le cartine geografiche e/o il database.");
    EXPECT_EQ(firstDefault, destination_ + "\\italia");
    EXPECT_EQ(secondDefault, destination_ + "\\sicilia");
    ASSERT_EQ(areas_.size(), 2u);
    // The record keeps the text as typed; the files go to its normal form.
    EXPECT_STREQ(areas_[0].dataDir, typed.c_str());
    EXPECT_TRUE(testfs::Exists("C:\\korva-run\\isola\\italia.vgr"));
    EXPECT_EQ(IniValue("C:\\korva-run\\isola\\italia.vgr", "DISKS", "Disk1"),
              cd_ + "\\italia\\cartine");
    EXPECT_TRUE(testfs::Exists(destination_ + "\\sicilia\\sicilia.vgr"));
    // Outside an edition the program files come from the source itself.
    EXPECT_EQ(testfs::ReadFile(destination_ + "\\korva.exe"),
              testfs::ReadFile(cd_ + "\\korva.exe"));
}

TEST_F(InstallationRun, TooLittleSpaceAsksAndRetryChecksAgain) {
    freeBytes = 5000000;
    std::string message;
    int result = Run([&] {
        ASSERT_TRUE(Answer(WaitPrompt("verrà installato"), destination_));
        ASSERT_TRUE(robot::Click(TypeDialog(), 1026)); // minimal: 10,000,000 bytes
        HWND box = robot::WaitForMessageBox(Self(), "Non c'e' abbastanza spazio");
        ASSERT_NE(box, nullptr);
        message = robot::MessageBoxText(box);
        freeBytes = 10000000;
        robot::Click(box, IDRETRY);
        ASSERT_NO_FATAL_FAILURE(KeepEveryDataDirectoryAndDeclineTheGroup());
    });
    EXPECT_EQ(result, 1);
    EXPECT_NE(message.find("ATTENZIONE: Se sciegliete 'Ignora'"), std::string::npos);
}

TEST_F(InstallationRun, AbortAtTheSpaceQuestionEndsTheRunBeforeAnyCopy) {
    freeBytes = 0;
    int result = Run([&] {
        ASSERT_TRUE(Answer(WaitPrompt("verrà installato"), destination_));
        ASSERT_TRUE(robot::Click(TypeDialog(), 1027));
        HWND box = robot::WaitForMessageBox(Self(), "Non c'e' abbastanza spazio");
        ASSERT_NE(box, nullptr);
        robot::Click(box, IDABORT);
    });
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(testfs::ListTree(destination_).empty());
}

TEST_F(InstallationRun, WithoutSizeOfNetTheTextSays30MbButTheCheckWants50MillionBytes) {
    testfs::DeleteFileIfAny(cd_ + "\\italia\\rete\\setup.inf");
    std::string recommended, complete;
    for (std::uint32_t available : {49999999u, 50000000u}) {
        freeBytes = available;
        bool asked = false;
        Run([&] {
            ASSERT_TRUE(Answer(WaitPrompt("verrà installato"), destination_));
            HWND type = TypeDialog();
            ASSERT_NE(type, nullptr);
            recommended = robot::ItemText(type, 1032);
            complete = robot::ItemText(type, 1033);
            robot::Click(type, 1027);
            HWND box = robot::WaitForMessageBox(Self(), "Non c'e' abbastanza spazio", 1500);
            asked = box != nullptr;
            if (box) {
                robot::Click(box, IDABORT);
            } else {
                robot::Click(WaitPrompt("cartine geografiche"), IDCANCEL);
            }
        });
        EXPECT_EQ(asked, available < 50000000u) << available;
    }
    EXPECT_EQ(recommended,
              "Scegli questa opzione se hai almeno 30 Mb disponibili su disco rigido e "
              "vuoi rendere veloce le funzioni di ottimizzazione del percorso.");
    // 30 + the bitmap tree's 1 Mb.
    EXPECT_NE(complete.find("ed  hai almeno 31 Mb disponibili."), std::string::npos) << complete;
}

TEST_F(InstallationRun, ANetworkDestinationSkipsTheSpaceCheck) {
    freeBytes = 0;
    int result = Run([&] {
        ASSERT_TRUE(Answer(WaitPrompt("verrà installato"), "\\\\server\\korva"));
        ASSERT_TRUE(robot::Click(TypeDialog(), 1026));
        HWND prompt = WaitPrompt("cartine geografiche");
        ASSERT_NE(prompt, nullptr);
        robot::Click(prompt, IDCANCEL);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(freeBytesAsked, 0);
}

TEST_F(InstallationRun, ALevelThatCannotBeCreatedIsNamedAndRetryCreatesTheRest) {
    const std::string locked = destination_ + "-locked";
    testfs::RemoveTree(locked);
    testfs::MakeDirs(locked);
    auto readOnly = std::make_unique<testfs::ScopedReadOnly>(locked);
    const std::string deep = locked + "\\uno\\due";
    std::string message;
    bool typeAsked = false;
    int result = Run([&] {
        ASSERT_TRUE(Answer(WaitPrompt("verrà installato"), deep));
        HWND box = robot::WaitForMessageBox(Self(), "sul disco di destinazione");
        ASSERT_NE(box, nullptr);
        message = robot::MessageBoxText(box);
        // The user makes the directory writable and tries again: every level is created.
        readOnly.reset();
        robot::Click(box, IDRETRY);
        HWND type = TypeDialog();
        typeAsked = type != nullptr;
        ASSERT_NE(type, nullptr);
        robot::Click(type, IDCANCEL);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(message, "Impossibile scrivere \"" + locked +
                           "\\uno\" sul disco di destinazione: la destinazione è protetta da "
                           "scrittura.  Risolvere il problema e riprovare.");
    EXPECT_TRUE(typeAsked);
    EXPECT_TRUE(testfs::Exists(deep));
    testfs::RemoveTree(locked);
}

TEST_F(InstallationRun, AbortWhenALevelCannotBeCreatedEndsTheRun) {
    const std::string locked = destination_ + "-locked";
    testfs::RemoveTree(locked);
    testfs::MakeDirs(locked);
    testfs::ScopedReadOnly readOnly(locked);
    int result = Run([&] {
        ASSERT_TRUE(Answer(WaitPrompt("verrà installato"), locked + "\\uno"));
        HWND box = robot::WaitForMessageBox(Self(), "sul disco di destinazione");
        ASSERT_NE(box, nullptr);
        robot::Click(box, IDABORT);
    });
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(testfs::Exists(locked + "\\uno"));
}

TEST_F(InstallationRun, AnOverLongPathIsRefusedAndThePromptComesBack) {
    const std::string tooLong = "C:\\" + std::string(300, 'x');
    std::string message, shownAgain;
    int result = Run([&] {
        ASSERT_TRUE(Answer(WaitPrompt("verrà installato"), tooLong));
        HWND box = robot::WaitForMessageBox(Self(), "troppo lungo");
        ASSERT_NE(box, nullptr);
        message = robot::MessageBoxText(box);
        robot::Click(box, IDOK);
        HWND prompt = WaitPrompt("verrà installato");
        ASSERT_NE(prompt, nullptr);
        shownAgain = robot::ItemText(prompt, 1001);
        robot::Click(prompt, IDCANCEL);
    });
    EXPECT_EQ(result, 0);
    EXPECT_NE(message.find("al massimo 259 caratteri"), std::string::npos);
    EXPECT_EQ(shownAgain, tooLong);
}

TEST_F(InstallationRun, ACdWithoutAreasEndsWithAMessage) {
    cd_ = testfs::FreshScratchDir("run-empty-cd");
    testfs::MakeDirs(cd_ + "\\demo");
    std::string message;
    int result = Run([&] {
        ASSERT_TRUE(Answer(WaitPrompt("verrà installato"), destination_));
        HWND box = robot::WaitForMessageBox(Self(), "nessuna cartina");
        ASSERT_NE(box, nullptr);
        message = robot::MessageBoxText(box);
        robot::Click(box, IDOK);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(message, "Nel CD scelto non è stata trovata nessuna cartina da installare: "
                       "l'installazione non può continuare.");
}

TEST_F(InstallationRun, ABitmapTreeWithoutItsDeclaredSizeIsStillCopiedWhole) {
    testfs::DeleteFileIfAny(cd_ + "\\italia\\cartine\\setup.inf");
    int result = Run([&] {
        ASSERT_TRUE(Answer(WaitPrompt("verrà installato"), destination_));
        ASSERT_TRUE(robot::Click(TypeDialog(), 1028));
        ASSERT_NO_FATAL_FAILURE(KeepEveryDataDirectoryAndDeclineTheGroup());
    });
    EXPECT_EQ(result, 1);
    std::vector<std::string> expected;
    for (const std::string& file : testfs::ListTree(cd_ + "\\italia\\cartine")) {
        expected.push_back(file);
    }
    EXPECT_EQ(testfs::ListTree(destination_ + "\\italia\\cartine"), expected);
    EXPECT_EQ(expected.size(), 10u);
}
