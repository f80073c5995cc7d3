// The framework's file helpers on real files in the prefix: the forced version installation
// with its failure bits and the clean-up of its temporary copies, whole-file reads and
// byte-for-byte comparisons, and file stamps.
#include "framework/file_bytes.h"
#include "framework/file_stamp.h"
#include "framework/handles.h"
#include "framework/version_install.h"
#include "scratch.h"
#include "test_name.h"
#include "test_seed.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>

namespace {

std::string Scratch(const char* suffix = "") {
    return testfs::FreshScratchDir(std::string("framework-") + testfs::TestName() + suffix);
}

std::vector<std::uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

// The names in `dir` that look like the version installer's temporary copies.
std::vector<std::string> TemporaryCopies(const std::string& dir) {
    std::vector<std::string> names;
    for (const std::string& name : testfs::ListTree(dir)) {
        if (fw::IsTemporaryName(name)) {
            names.push_back(name);
        }
    }
    return names;
}

} // namespace

// ---- Version installation ----

TEST(VersionInstall, EveryFailureBitCountsAndNoInformationalBitDoes) {
    for (DWORD bit : {VIF_TEMPFILE, VIF_WRITEPROT, VIF_FILEINUSE, VIF_OUTOFSPACE,
                      VIF_ACCESSVIOLATION, VIF_SHARINGVIOLATION, VIF_CANNOTCREATE, VIF_CANNOTDELETE,
                      VIF_CANNOTRENAME, VIF_CANNOTDELETECUR, VIF_OUTOFMEMORY, VIF_CANNOTREADSRC,
                      VIF_CANNOTREADDST, VIF_BUFFTOOSMALL}) {
        EXPECT_TRUE(fw::VersionInstallFailed(bit)) << std::hex << bit;
        EXPECT_TRUE(fw::VersionInstallFailed(bit | VIF_SRCOLD)) << std::hex << bit;
    }
    EXPECT_FALSE(fw::VersionInstallFailed(0));
    for (DWORD bit : {VIF_MISMATCH, VIF_SRCOLD, VIF_DIFFLANG, VIF_DIFFCODEPG, VIF_DIFFTYPE}) {
        EXPECT_FALSE(fw::VersionInstallFailed(bit)) << std::hex << bit;
    }
}

TEST(VersionInstall, InstallsAFileAndLeavesNoTemporaryCopy) {
    const std::string dir = Scratch();
    testfs::MakeDirs(dir + "\\dst");
    testfs::WriteFile(dir + "\\new.dll", "the new library");
    testfs::WriteFile(dir + "\\dst\\lib.dll", "an older, longer library file");
    const DWORD result = fw::ForceVersionInstall(dir, "new.dll", dir + "\\dst", "lib.dll");
    EXPECT_FALSE(fw::VersionInstallFailed(result)) << std::hex << result;
    EXPECT_EQ(testfs::ReadFile(dir + "\\dst\\lib.dll"), "the new library");
    EXPECT_EQ(testfs::ListTree(dir + "\\dst"), std::vector<std::string>{"lib.dll"});
}

TEST(VersionInstall, AMissingSourceFails) {
    const std::string dir = Scratch();
    const DWORD result = fw::ForceVersionInstall(dir, "missing.dll", dir, "lib.dll");
    EXPECT_TRUE(result & VIF_CANNOTREADSRC) << std::hex << result;
    EXPECT_TRUE(fw::VersionInstallFailed(result));
    EXPECT_FALSE(testfs::Exists(dir + "\\lib.dll"));
}

TEST(VersionInstall, ADestinationThatCannotBeReplacedFailsAndItsTemporaryCopyIsRemoved) {
    const std::string dir = Scratch();
    testfs::MakeDirs(dir + "\\dst");
    testfs::WriteFile(dir + "\\new.dll", "the new library");
    testfs::WriteFile(dir + "\\dst\\lib.dll", "stale");
    // A temporary copy from some earlier attempt is not this call's to remove.
    testfs::WriteFile(dir + "\\dst\\ver1a2b.tmp", "someone else's");
    DWORD result = 0;
    {
        testfs::ScopedReadOnly locked(dir + "\\dst\\lib.dll");
        result = fw::ForceVersionInstall(dir, "new.dll", dir + "\\dst", "lib.dll");
    }
    EXPECT_TRUE(fw::VersionInstallFailed(result)) << std::hex << result;
    EXPECT_EQ(testfs::ReadFile(dir + "\\dst\\lib.dll"), "stale");
    EXPECT_EQ(TemporaryCopies(dir + "\\dst"), std::vector<std::string>{"ver1a2b.tmp"});
    EXPECT_EQ(testfs::ReadFile(dir + "\\dst\\ver1a2b.tmp"), "someone else's");
}

TEST(VersionInstall, ADirectoryListedOnceForManyFilesKeepsItsEarlierTemporaryCopies) {
    const std::string dir = Scratch();
    testfs::MakeDirs(dir + "\\dst");
    testfs::WriteFile(dir + "\\new.dll", "the new library");
    testfs::WriteFile(dir + "\\dst\\ver1a2b.tmp", "there before the first file");
    const std::vector<std::string> earlier = fw::ListTemporaryFiles(dir + "\\dst");
    ASSERT_EQ(earlier, std::vector<std::string>{"ver1a2b.tmp"});
    // Files go in one after the other; one of them cannot be replaced.
    for (const char* name : {"a.dll", "b.dll", "c.dll"}) {
        const DWORD result = fw::ForceVersionInstall(dir, "new.dll", dir + "\\dst", name, earlier);
        EXPECT_FALSE(fw::VersionInstallFailed(result)) << name << std::hex << result;
    }
    DWORD result = 0;
    {
        testfs::ScopedReadOnly locked(dir + "\\dst\\b.dll");
        result = fw::ForceVersionInstall(dir, "new.dll", dir + "\\dst", "b.dll", earlier);
    }
    EXPECT_TRUE(fw::VersionInstallFailed(result)) << std::hex << result;
    EXPECT_EQ(TemporaryCopies(dir + "\\dst"), std::vector<std::string>{"ver1a2b.tmp"});
    EXPECT_EQ(testfs::ReadFile(dir + "\\dst\\ver1a2b.tmp"), "there before the first file");
    EXPECT_EQ(testfs::ReadFile(dir + "\\dst\\c.dll"), "the new library");
}

TEST(VersionInstall, ADirectoryInPlaceOfTheDestinationFails) {
    const std::string dir = Scratch();
    testfs::WriteFile(dir + "\\new.dll", "the new library");
    testfs::MakeDirs(dir + "\\lib.dll");
    const DWORD result = fw::ForceVersionInstall(dir, "new.dll", dir, "lib.dll");
    EXPECT_TRUE(fw::VersionInstallFailed(result)) << std::hex << result;
    EXPECT_TRUE(TemporaryCopies(dir).empty());
}

TEST(VersionInstall, OnlyTheTemporaryNamesAreTheVersionInstallersOwn) {
    EXPECT_TRUE(fw::IsTemporaryName("ver1a2b.tmp"));
    EXPECT_TRUE(fw::IsTemporaryName("VER0001.TMP"));
    EXPECT_FALSE(fw::IsTemporaryName("ver.tmp"));
    EXPECT_FALSE(fw::IsTemporaryName("version.txt"));
    EXPECT_FALSE(fw::IsTemporaryName("italia.tmp"));
    EXPECT_FALSE(fw::IsTemporaryName("ver1\\a.tmp"));
    EXPECT_TRUE(fw::IsTemporaryName("ver1.tmp"));
    EXPECT_TRUE(fw::IsTemporaryName("verFFFF.tmp"));
    // A user's own files: words, not the platform's hex digits, or too many of them.
    EXPECT_FALSE(fw::IsTemporaryName("verbale.tmp"));
    EXPECT_FALSE(fw::IsTemporaryName("versione.tmp"));
    EXPECT_FALSE(fw::IsTemporaryName("ver12345.tmp"));
    EXPECT_FALSE(fw::IsTemporaryName("ver1a2g.tmp"));
    EXPECT_FALSE(fw::IsTemporaryName("ver1a2b.tmp.txt"));
}

TEST(VersionInstall, StaleTemporaryCopiesAreListedAndNothingElse) {
    const std::string dir = Scratch();
    testfs::MakeDirs(dir + "\\sub");
    // What a stopped installation left: two temporary copies, one of them in a subdirectory
    // that is not the one being prepared.
    testfs::WriteFile(dir + "\\ver1a2b.tmp", "a map cut short");
    testfs::WriteFile(dir + "\\VER00FF.TMP", "another");
    testfs::WriteFile(dir + "\\sub\\ver0003.tmp", "below");
    // Not the version installer's, or not a file.
    testfs::WriteFile(dir + "\\version.tmp.txt", "keep");
    testfs::WriteFile(dir + "\\italia.tmp", "keep");
    testfs::MakeDirs(dir + "\\ver0002.tmp");
    const std::string outside = Scratch("-outside");
    testfs::WriteFile(outside + "\\kept.txt", "outside");
    testfs::ScopedLink link(dir + "\\ver0004.tmp", outside);
    testfs::ScopedLink fileLink(dir + "\\ver0007.tmp", outside + "\\kept.txt");
    testfs::WriteFile(dir + "\\verbale.tmp", "a user's minutes");
    testfs::WriteFile(dir + "\\ver0005.tmp", "in use");

    // The run started a minute ago; the leftovers are an hour old, one file was written since.
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const auto before = [&](unsigned long long seconds) {
        ULARGE_INTEGER time;
        time.LowPart = now.dwLowDateTime;
        time.HighPart = now.dwHighDateTime;
        time.QuadPart -= seconds * 10'000'000ull;
        return FILETIME{time.LowPart, time.HighPart};
    };
    const FILETIME anHourAgo = before(3600);
    for (const char* old :
         {"\\ver1a2b.tmp", "\\VER00FF.TMP", "\\sub\\ver0003.tmp", "\\version.tmp.txt",
          "\\italia.tmp", "\\ver0005.tmp", "\\verbale.tmp"}) {
        fw::UniqueFileHandle file(CreateFileA((dir + old).c_str(), FILE_WRITE_ATTRIBUTES,
                                              FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(file) << old;
        EXPECT_TRUE(SetFileTime(file.Get(), nullptr, nullptr, &anHourAgo)) << old;
    }
    testfs::WriteFile(dir + "\\ver0006.tmp", "this run's");
    // Held open by someone: being written right now.
    fw::UniqueFileHandle held(CreateFileA((dir + "\\ver0005.tmp").c_str(), GENERIC_WRITE, 0,
                                          nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    EXPECT_TRUE(fw::StaleTemporaryFiles(dir, before(7200)).empty());

    // Only old plain files named like the platform's copies, nobody writing them: never the
    // directory, the links, the file being written, this run's file or the user's own.
    std::vector<std::string> stale = fw::StaleTemporaryFiles(dir, before(60));
    std::sort(stale.begin(), stale.end());
    EXPECT_EQ(stale, (std::vector<std::string>{"VER00FF.TMP", "ver1a2b.tmp"}));
    held.Reset();
    EXPECT_EQ(testfs::ReadFile(outside + "\\kept.txt"), "outside");
}

// ---- Whole files and comparisons ----

TEST(FileBytes, ReadsAndComparesFilesAroundTheChunkSize) {
    std::mt19937 random(testseed::Seed());
    const std::string dir = Scratch();
    for (std::size_t size : {0u, 1u, 65535u, 65536u, 65537u, 200000u}) {
        SCOPED_TRACE(size);
        std::string data(size, '\0');
        for (char& c : data) {
            c = static_cast<char>(random());
        }
        const std::string path = dir + "\\data.bin";
        testfs::WriteFile(path, data);
        const std::vector<std::uint8_t> bytes = Bytes(data);

        auto whole = fw::ReadWholeFile(path, 1 << 20);
        ASSERT_TRUE(whole.has_value());
        EXPECT_TRUE(*whole == bytes);
        EXPECT_TRUE(fw::FileHolds(path, bytes));

        if (size > 0) {
            EXPECT_FALSE(fw::ReadWholeFile(path, static_cast<std::uint32_t>(size - 1)));
            // One byte changed anywhere, the last one included.
            for (std::size_t at : {static_cast<std::size_t>(random() % size), size - 1}) {
                std::vector<std::uint8_t> changed = bytes;
                changed[at] ^= 0x01;
                EXPECT_FALSE(fw::FileHolds(path, changed)) << "changed at " << at;
            }
            std::vector<std::uint8_t> shorter(bytes.begin(), bytes.end() - 1);
            EXPECT_FALSE(fw::FileHolds(path, shorter));
        }
        std::vector<std::uint8_t> longer = bytes;
        longer.push_back(0);
        EXPECT_FALSE(fw::FileHolds(path, longer));
    }
}

TEST(FileBytes, AMissingFileOrADirectoryHoldsNothing) {
    const std::string dir = Scratch();
    EXPECT_FALSE(fw::ReadWholeFile(dir + "\\missing", 100));
    EXPECT_FALSE(fw::FileHolds(dir + "\\missing", {}));
    testfs::MakeDirs(dir + "\\sub");
    EXPECT_FALSE(fw::ReadWholeFile(dir + "\\sub", 100));
    EXPECT_FALSE(fw::FileHolds(dir + "\\sub", {}));
}

// ---- Stamps ----

TEST(FileStamp, TellsAFileFromItsReplacementAndAMissingOne) {
    const std::string dir = Scratch();
    const std::string path = dir + "\\file.bin";
    EXPECT_FALSE(fw::StampOf(path).exists);
    testfs::WriteFile(path, "first");
    const fw::FileStamp first = fw::StampOf(path);
    EXPECT_TRUE(first.exists);
    EXPECT_EQ(first.size, 5u);
    EXPECT_TRUE(fw::StampOf(path) == first);

    // Replaced by another file of the same length and content under the same name.
    testfs::WriteFile(dir + "\\other.bin", "first");
    ASSERT_TRUE(
        MoveFileExA((dir + "\\other.bin").c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_FALSE(fw::StampOf(path) == first);

    const fw::FileStamp second = fw::StampOf(path);
    testfs::WriteFile(path, "rewritten, longer");
    EXPECT_FALSE(fw::StampOf(path) == second);

    testfs::MakeDirs(dir + "\\sub");
    EXPECT_TRUE(fw::StampOf(dir + "\\sub").exists);
}
