// Copying primitives of the installation on real files in the prefix.
#include "framework/file_exception.h"
#include "framework/handles.h"
#include "install/engine/file_copy.h"
#include "install/engine/platform_probes.h"
#include "scratch.h"
#include "tests/support/ui_thread.h"

#include <gtest/gtest.h>

using namespace korva;

namespace {

DWORD Self() {
    return GetCurrentProcessId();
}

class FileCopy : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = testfs::FreshScratchDir("file-copy");
        testfs::MakeDirs(dir_ + "\\src");
        testfs::MakeDirs(dir_ + "\\dst");
        testfs::WriteFile(dir_ + "\\src\\data.bin", std::string(70000, 'k') + "end");
        testfs::WriteFile(dir_ + "\\src\\empty.bin", "");
    }
    void TearDown() override {
        if (testfs::Exists(dir_ + "\\dst\\data.bin")) {
            testfs::SetReadOnly(dir_ + "\\dst\\data.bin", false);
        }
    }

    InstallState State(int systemType) const {
        InstallState state;
        state.systemType = systemType;
        CopyToField(state.programSourceDir, "E:\\cd");
        return state;
    }

    std::string dir_;
};

constexpr const char* kSourceFault = "non è stato trovato";
constexpr const char* kDestinationFault = "sul disco di destinazione";

std::string DestinationMessage(const std::string& path, const std::string& cause) {
    return "Impossibile scrivere \"" + path + "\" sul disco di destinazione: " + cause +
           ".  Risolvere il problema e riprovare.";
}

// Runs a copy that fails, answers its message (the one holding `expected`) with `answer`, and
// returns the copy's result and the message text.
long CopyAnswering(const InstallState& state, const std::string& sourceDir, const std::string& name,
                   const std::string& destDir, int answer, std::string& message,
                   const char* expected = kSourceFault) {
    long result = 0;
    RunWithRobot([&] { result = CopyInstallFile(state, sourceDir, name, destDir, name, 1); },
                 [&] {
                     HWND box = robot::WaitForMessageBox(Self(), expected);
                     ASSERT_NE(box, nullptr);
                     message = robot::MessageBoxText(box);
                     robot::Click(box, answer);
                 });
    return result;
}

} // namespace

TEST_F(FileCopy, WholeFileCopyGivesAnEqualFile) {
    EXPECT_EQ(CopyWholeFile(dir_ + "\\src\\data.bin", dir_ + "\\dst\\data.bin"), 0);
    EXPECT_EQ(testfs::ReadFile(dir_ + "\\dst\\data.bin"),
              testfs::ReadFile(dir_ + "\\src\\data.bin"));
    EXPECT_EQ(CopyWholeFile(dir_ + "\\src\\empty.bin", dir_ + "\\dst\\empty.bin"), 0);
    EXPECT_TRUE(testfs::Exists(dir_ + "\\dst\\empty.bin"));
    EXPECT_EQ(testfs::ReadFile(dir_ + "\\dst\\empty.bin"), "");
}

TEST_F(FileCopy, CopyingAFileOntoItselfLeavesItUntouched) {
    const std::string path = dir_ + "\\src\\data.bin";
    const std::string before = testfs::ReadFile(path);
    EXPECT_EQ(CopyWholeFile(path, dir_ + "\\src\\.\\data.bin"), 0);
    EXPECT_EQ(CopyWholeFile(path, path), 0);
    EXPECT_EQ(testfs::ReadFile(path), before);
    // Spelled differently, the same file is not recognised; the copy fails, but the file
    // must survive it.
    EXPECT_NE(CopyWholeFile(path, dir_ + "\\src\\DATA.BIN"), 0);
    EXPECT_EQ(testfs::ReadFile(path), before);
}

TEST_F(FileCopy, FailuresGiveTheCauseAndLeaveNoFileBehind) {
    EXPECT_EQ(CopyWholeFile(dir_ + "\\src\\missing.bin", dir_ + "\\dst\\missing.bin"),
              CFileException::fileNotFound);
    EXPECT_FALSE(testfs::Exists(dir_ + "\\dst\\missing.bin"));

    testfs::WriteFile(dir_ + "\\dst\\data.bin", "older");
    testfs::SetReadOnly(dir_ + "\\dst\\data.bin", true);
    EXPECT_EQ(CopyWholeFile(dir_ + "\\src\\data.bin", dir_ + "\\dst\\data.bin"),
              CFileException::accessDenied);
    EXPECT_EQ(testfs::ReadFile(dir_ + "\\dst\\data.bin"), "older");
    testfs::SetReadOnly(dir_ + "\\dst\\data.bin", false);

    EXPECT_NE(CopyWholeFile(dir_ + "\\src\\data.bin", dir_ + "\\nodir\\data.bin"), 0);
}

TEST_F(FileCopy, InstallCopyReturnsTheSizeWithEitherMethod) {
    for (int systemType : {kWindowsNT, kWindows95Family}) {
        testfs::DeleteFileIfAny(dir_ + "\\dst\\data.bin");
        EXPECT_EQ(CopyInstallFile(State(systemType), dir_ + "\\src", "data.bin", dir_ + "\\dst",
                                  "data.bin", kWholeFileCopy),
                  70003);
        EXPECT_EQ(testfs::ReadFile(dir_ + "\\dst\\data.bin"),
                  testfs::ReadFile(dir_ + "\\src\\data.bin"));
        EXPECT_EQ(CopyInstallFile(State(systemType), dir_ + "\\src", "empty.bin", dir_ + "\\dst",
                                  "empty.bin", kWholeFileCopy),
                  0);
    }
}

TEST_F(FileCopy, AReadOnlySourceGivesAnOrdinaryFileWithEitherMethod) {
    // Every file of a disc is read-only; what is installed from it must not be, or the map
    // program could not write its settings and the removal would pass over it.
    testfs::ScopedReadOnly source(dir_ + "\\src\\data.bin");
    ASSERT_TRUE(GetFileAttributesA((dir_ + "\\src\\data.bin").c_str()) & FILE_ATTRIBUTE_READONLY);
    for (int systemType : {kWindowsNT, kWindows95Family}) {
        testfs::DeleteFileIfAny(dir_ + "\\dst\\data.bin");
        EXPECT_EQ(CopyInstallFile(State(systemType), dir_ + "\\src", "data.bin", dir_ + "\\dst",
                                  "data.bin", kWholeFileCopy),
                  70003);
        const DWORD attributes = GetFileAttributesA((dir_ + "\\dst\\data.bin").c_str());
        ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << systemType;
        EXPECT_EQ(attributes & FILE_ATTRIBUTE_READONLY, 0u) << systemType;
        EXPECT_EQ(testfs::ReadFile(dir_ + "\\dst\\data.bin"), std::string(70000, 'k') + "end");
    }
}

TEST_F(FileCopy, AMissingSourceAsksAndIgnoreCountsOneByte) {
    for (int systemType : {kWindowsNT, kWindows95Family}) {
        std::string message;
        EXPECT_EQ(CopyAnswering(State(systemType), dir_ + "\\src", "gone.bin", dir_ + "\\dst",
                                IDIGNORE, message),
                  1);
        // The source's own directory, not the program's source directory (E:\cd).
        EXPECT_EQ(message, "Il file \"" + dir_ +
                               "\\src\\gone.bin\" non è stato trovato.  "
                               "Inserire il dischetto giusto e riprovare.");
        EXPECT_EQ(CopyAnswering(State(systemType), dir_ + "\\src", "gone.bin", dir_ + "\\dst",
                                IDABORT, message),
                  -1);
    }
}

TEST_F(FileCopy, AReadOnlyDestinationIsAFailureWithEitherMethod) {
    for (int systemType : {kWindowsNT, kWindows95Family}) {
        testfs::WriteFile(dir_ + "\\dst\\data.bin", "older");
        testfs::SetReadOnly(dir_ + "\\dst\\data.bin", true);
        std::string message;
        EXPECT_EQ(CopyAnswering(State(systemType), dir_ + "\\src", "data.bin", dir_ + "\\dst",
                                IDIGNORE, message, kDestinationFault),
                  1)
            << systemType;
        EXPECT_EQ(message, DestinationMessage(dir_ + "\\dst\\data.bin",
                                              "la destinazione è protetta da scrittura"));
        EXPECT_EQ(testfs::ReadFile(dir_ + "\\dst\\data.bin"), "older");
        testfs::SetReadOnly(dir_ + "\\dst\\data.bin", false);
        // No temporary file of the version installation is left behind.
        EXPECT_EQ(testfs::ListTree(dir_ + "\\dst"), (std::vector<std::string>{"data.bin"}));
    }
}

TEST_F(FileCopy, ADestinationFileInUseIsNamedWithTheCause) {
    for (int systemType : {kWindowsNT, kWindows95Family}) {
        testfs::WriteFile(dir_ + "\\dst\\data.bin", "older");
        fw::UniqueFileHandle held(CreateFileA((dir_ + "\\dst\\data.bin").c_str(), GENERIC_READ, 0,
                                              nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        std::string message;
        EXPECT_EQ(CopyAnswering(State(systemType), dir_ + "\\src", "data.bin", dir_ + "\\dst",
                                IDABORT, message, kDestinationFault),
                  -1)
            << systemType;
        held.Reset();
        EXPECT_EQ(message.find("Inserire il dischetto"), std::string::npos) << message;
        EXPECT_EQ(message.rfind("Impossibile scrivere \"" + dir_ + "\\dst\\data.bin\"", 0), 0u)
            << message;
        if (systemType == kWindowsNT) {
            EXPECT_EQ(message, DestinationMessage(dir_ + "\\dst\\data.bin",
                                                  "il file è in uso da un altro programma"));
        }
        EXPECT_EQ(testfs::ReadFile(dir_ + "\\dst\\data.bin"), "older");
    }
}

TEST_F(FileCopy, AMissingDestinationDirectoryIsNamedAsSuch) {
    for (int systemType : {kWindowsNT, kWindows95Family}) {
        std::string message;
        EXPECT_EQ(CopyAnswering(State(systemType), dir_ + "\\src", "data.bin", dir_ + "\\nowhere",
                                IDIGNORE, message, kDestinationFault),
                  1)
            << systemType;
        EXPECT_EQ(message, DestinationMessage(dir_ + "\\nowhere\\data.bin",
                                              "la directory di destinazione non esiste"));
        EXPECT_FALSE(testfs::Exists(dir_ + "\\nowhere"));
    }
}

TEST_F(FileCopy, SizesAreSummedOverTheListAndMissingFilesAddNothing) {
    EXPECT_EQ(SumFileSizes(dir_ + "\\src", "data.bin,empty.bin,missing.bin,data.bin"), 140006u);
    EXPECT_EQ(SumFileSizes(dir_ + "\\src", ""), 0u);
}

namespace {
std::uint32_t freeBytesGiven = 0;
std::string rootAsked;
std::uint32_t FakeFreeBytes(const std::string& root) {
    rootAsked = root;
    return freeBytesGiven;
}
} // namespace

TEST_F(FileCopy, AGroupLargerThanTheFreeSpaceAsksOnceWhatToDo) {
    const PlatformProbes probes{FakeFreeBytes, PlatformPhysicalMemory};
    freeBytesGiven = 1000;
    const std::vector<std::string> listing = {"data.bin", "empty.bin"};
    EXPECT_EQ(CheckSpaceForFiles(dir_ + "\\src", "C:\\korva", {"empty.bin"}, 0, probes), 1u);
    EXPECT_EQ(CheckSpaceForFiles(dir_ + "\\src", "C:\\korva", listing, 500, probes), 500u);
    EXPECT_EQ(rootAsked, "C:\\");

    for (int answer : {IDABORT, IDRETRY, IDIGNORE}) {
        std::uint32_t total = 99;
        RunWithRobot(
            [&] { total = CheckSpaceForFiles(dir_ + "\\src", "D:\\x", listing, 0, probes); },
            [&] {
                HWND box = robot::WaitForMessageBox(Self(), "Spazio su disco");
                ASSERT_NE(box, nullptr);
                robot::Click(box, answer);
            });
        EXPECT_EQ(total, answer == IDABORT ? 0u : 70003u);
        EXPECT_EQ(rootAsked, "D:\\");
    }
}
