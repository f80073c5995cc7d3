// What a name is before anything is written or deleted through it, on real files in the prefix:
// plain files, links to files and directories (Linux symbolic links, which Wine shows as an
// ordinary file and as a directory), directories; files created new; the restart rename line
// read back from the disk.
#include "framework/file_bytes.h"
#include "framework/file_identity.h"
#include "framework/plain_file.h"
#include "framework/restart_rename.h"
#include "scratch.h"
#include "test_name.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

// A scratch directory of the prefix and, outside the prefix in the build tree, files a link
// leads to.
class PlainFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = testfs::FreshScratchDir("plain-" + testfs::TestName());
        testfs::WriteFile(outside_ + "\\target.txt", "somebody else's");
    }

    std::string dir_;
    const testfs::ScopedOutsideDir outsideDir_{"plain-" + testfs::TestName()};
    const std::string& outside_ = outsideDir_.Path();
};

} // namespace

TEST_F(PlainFiles, ANameIsJudgedByWhatItIsNotByItsAttributes) {
    testfs::WriteFile(dir_ + "\\plain.txt", "mine");
    testfs::MakeDirs(dir_ + "\\directory");
    testfs::ScopedLink fileLink(dir_ + "\\link.txt", outside_ + "\\target.txt");
    testfs::ScopedLink directoryLink(dir_ + "\\linked", outside_);
    // Wine shows the link to a file as an ordinary file.
    EXPECT_EQ(GetFileAttributesA((dir_ + "\\link.txt").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);

    EXPECT_EQ(fw::StateOfName(dir_ + "\\plain.txt"), fw::NameState::plainFile);
    EXPECT_EQ(fw::StateOfName(dir_ + "\\missing.txt"), fw::NameState::absent);
    EXPECT_EQ(fw::StateOfName(dir_ + "\\no\\such\\file.txt"), fw::NameState::absent);
    EXPECT_EQ(fw::StateOfName(dir_ + "\\directory"), fw::NameState::other);
    EXPECT_EQ(fw::StateOfName(dir_ + "\\linked"), fw::NameState::other);
    EXPECT_EQ(fw::StateOfName(dir_ + "\\linked\\target.txt"), fw::NameState::other);
    ASSERT_TRUE(fw::TellsFinalPaths()) << "Wine tells final paths in every mode";
    EXPECT_EQ(fw::StateOfName(dir_ + "\\link.txt"), fw::NameState::other);

    // The link's handle is its target's: the same index, and the target's final path.
    const fw::HandleFacts link = fw::FactsOf(dir_ + "\\link.txt");
    const fw::HandleFacts target = fw::FactsOf(outside_ + "\\target.txt");
    ASSERT_TRUE(link.opened);
    EXPECT_EQ(link.index, target.index);
    EXPECT_EQ(link.finalPath, target.finalPath);
    EXPECT_TRUE(fw::FinalPathIs(target, outside_ + "\\target.txt"));
    EXPECT_FALSE(fw::FinalPathIs(link, dir_ + "\\link.txt"));
}

TEST_F(PlainFiles, OnlyAPlainFileIsDeletedAndNeverWhatALinkLeadsTo) {
    testfs::WriteFile(dir_ + "\\plain.txt", "mine");
    testfs::MakeDirs(dir_ + "\\directory");
    testfs::ScopedLink fileLink(dir_ + "\\link.txt", outside_ + "\\target.txt");
    EXPECT_EQ(fw::DeletePlainFile(dir_ + "\\plain.txt"), fw::DeleteOutcome::deleted);
    EXPECT_FALSE(testfs::Exists(dir_ + "\\plain.txt"));
    EXPECT_EQ(fw::DeletePlainFile(dir_ + "\\link.txt"), fw::DeleteOutcome::notPlain);
    EXPECT_EQ(fw::DeletePlainFile(dir_ + "\\directory"), fw::DeleteOutcome::notPlain);
    EXPECT_EQ(testfs::ReadFile(outside_ + "\\target.txt"), "somebody else's");
    EXPECT_TRUE(testfs::Exists(dir_ + "\\link.txt"));
    EXPECT_TRUE(testfs::Exists(dir_ + "\\directory"));

    // A file the file system will not let go (read-only and immutable) is a failure, and says
    // why; one that is gone already is no failure.
    testfs::WriteFile(dir_ + "\\locked.txt", "locked");
    {
        testfs::ScopedReadOnly locked(dir_ + "\\locked.txt");
        EXPECT_EQ(fw::DeletePlainFile(dir_ + "\\locked.txt"), fw::DeleteOutcome::failed);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    }
    EXPECT_EQ(testfs::ReadFile(dir_ + "\\locked.txt"), "locked");
    EXPECT_EQ(fw::DeletePlainFile(dir_ + "\\missing.txt"), fw::DeleteOutcome::deleted);

    // Held open by a program that does not share deletion: not deleted.
    testfs::WriteFile(dir_ + "\\held.txt", "held");
    HANDLE held = CreateFileA((dir_ + "\\held.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(fw::DeletePlainFile(dir_ + "\\held.txt"), fw::DeleteOutcome::failed);
    CloseHandle(held);
    EXPECT_EQ(testfs::ReadFile(dir_ + "\\held.txt"), "held");
}

TEST_F(PlainFiles, AFreshFileNeverOpensWhatIsThere) {
    const std::string path = dir_ + "\\comctl32.tmp";
    testfs::WriteFile(path, "an earlier copy");
    EXPECT_FALSE(fw::CreateFreshFile(path, GENERIC_WRITE, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
    EXPECT_EQ(fw::FreeNameForFreshFile(path), fw::FreshName::free);
    EXPECT_FALSE(testfs::Exists(path));
    EXPECT_TRUE(fw::CreateFreshFile(path, GENERIC_WRITE, 0));
    EXPECT_TRUE(testfs::Exists(path));

    {
        testfs::ScopedLink link(dir_ + "\\link.tmp", outside_ + "\\target.txt");
        EXPECT_EQ(fw::FreeNameForFreshFile(dir_ + "\\link.tmp"), fw::FreshName::taken);
        EXPECT_FALSE(fw::CreateFreshFile(dir_ + "\\link.tmp", GENERIC_WRITE, 0));
    }
    EXPECT_EQ(testfs::ReadFile(outside_ + "\\target.txt"), "somebody else's");
    testfs::MakeDirs(dir_ + "\\directory.tmp");
    EXPECT_EQ(fw::FreeNameForFreshFile(dir_ + "\\directory.tmp"), fw::FreshName::taken);
    testfs::WriteFile(dir_ + "\\locked.tmp", "locked");
    testfs::ScopedReadOnly locked(dir_ + "\\locked.tmp");
    EXPECT_EQ(fw::FreeNameForFreshFile(dir_ + "\\locked.tmp"), fw::FreshName::stuck);
}

TEST_F(PlainFiles, TheRestartLineCountsOnlyWhenTheDiskHoldsIt) {
    const std::string wininit = dir_ + "\\wininit.ini";
    const std::string target = "C:\\WINDOWS\\SYSTEM\\comctl32.dll";
    const std::string replacement = "C:\\WINDOWS\\SYSTEM\\comctl32.tmp";
    EXPECT_TRUE(fw::WriteRestartRename(wininit, target, replacement));
    EXPECT_NE(testfs::ReadFile(wininit).find(target + "=" + replacement), std::string::npos);

    // A file that cannot be written: the profile service's own copy would say the line is
    // there.
    const std::string locked = dir_ + "\\locked.ini";
    testfs::WriteFile(locked, "[rename]\r\n");
    {
        testfs::ScopedReadOnly readOnly(locked);
        EXPECT_FALSE(fw::WriteRestartRename(locked, target, replacement));
    }
    EXPECT_EQ(testfs::ReadFile(locked), "[rename]\r\n");

    // A link or a directory in its place is not written through.
    testfs::ScopedLink link(dir_ + "\\linked.ini", outside_ + "\\target.txt");
    EXPECT_FALSE(fw::WriteRestartRename(dir_ + "\\linked.ini", target, replacement));
    EXPECT_EQ(testfs::ReadFile(outside_ + "\\target.txt"), "somebody else's");
    testfs::MakeDirs(dir_ + "\\directory.ini");
    EXPECT_FALSE(fw::WriteRestartRename(dir_ + "\\directory.ini", target, replacement));
}

TEST_F(PlainFiles, ACopyCutShortIsTheBeginningOfItsFile) {
    const std::string whole(200000, 'k');
    std::string withEnd = whole;
    withEnd.back() = 'x';
    testfs::WriteFile(dir_ + "\\whole.bin", withEnd);
    const std::vector<std::uint8_t> bytes(withEnd.begin(), withEnd.end());
    for (std::size_t size : {1u, 65536u, 65537u, 199999u, 200000u}) {
        testfs::WriteFile(dir_ + "\\part.bin", withEnd.substr(0, size));
        EXPECT_TRUE(fw::FileBeginsFile(dir_ + "\\part.bin", dir_ + "\\whole.bin")) << size;
        EXPECT_TRUE(fw::FileBegins(dir_ + "\\part.bin", bytes)) << size;
    }
    testfs::WriteFile(dir_ + "\\part.bin", whole); // differs in its last byte
    EXPECT_FALSE(fw::FileBeginsFile(dir_ + "\\part.bin", dir_ + "\\whole.bin"));
    testfs::WriteFile(dir_ + "\\part.bin", withEnd + "y"); // longer
    EXPECT_FALSE(fw::FileBeginsFile(dir_ + "\\part.bin", dir_ + "\\whole.bin"));
    EXPECT_FALSE(fw::FileBegins(dir_ + "\\part.bin", bytes));
    testfs::WriteFile(dir_ + "\\part.bin", ""); // empty: nobody's copy
    EXPECT_FALSE(fw::FileBeginsFile(dir_ + "\\part.bin", dir_ + "\\whole.bin"));
    EXPECT_FALSE(fw::FileBeginsFile(dir_ + "\\missing.bin", dir_ + "\\whole.bin"));
}
