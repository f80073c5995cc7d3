// The check that the copy under the temporary name is the CD's common-controls library before
// its replacement is scheduled: plain and SZDD-compressed libraries on the CD.
#include "framework/portable/szdd.h"
#include "install/engine/common_controls.h"
#include "scratch.h"

#include <gtest/gtest.h>

#include <random>

using namespace korva;

namespace {

class LibraryCheck : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = testfs::FreshScratchDir("library-check");
        std::mt19937 random(1998);
        library_.resize(90000);
        for (char& c : library_) {
            c = static_cast<char>(random() % 7); // compressible, like a program file
        }
        library_.replace(0, 2, "MZ");
    }

    std::string Compressed(const std::string& data) const {
        auto bytes =
            CompressSzdd({reinterpret_cast<const std::uint8_t*>(data.data()), data.size()}, 'l');
        return std::string(bytes.begin(), bytes.end());
    }

    std::string dir_;
    std::string library_;
};

} // namespace

TEST_F(LibraryCheck, APlainLibraryMustBeCopiedByteForByte) {
    testfs::WriteFile(dir_ + "\\comctl32.dll", library_);
    testfs::WriteFile(dir_ + "\\comctl32.tm2", library_);
    EXPECT_TRUE(HoldsLibraryOf(dir_ + "\\comctl32.tm2", dir_ + "\\comctl32.dll"));

    std::string changed = library_;
    changed[45000] ^= 0x10;
    testfs::WriteFile(dir_ + "\\comctl32.tm2", changed);
    EXPECT_FALSE(HoldsLibraryOf(dir_ + "\\comctl32.tm2", dir_ + "\\comctl32.dll"));
    testfs::WriteFile(dir_ + "\\comctl32.tm2", library_ + "x");
    EXPECT_FALSE(HoldsLibraryOf(dir_ + "\\comctl32.tm2", dir_ + "\\comctl32.dll"));
    testfs::WriteFile(dir_ + "\\comctl32.tm2", "stale");
    EXPECT_FALSE(HoldsLibraryOf(dir_ + "\\comctl32.tm2", dir_ + "\\comctl32.dll"));
}

TEST_F(LibraryCheck, ACompressedLibraryMustBeCopiedExpanded) {
    const std::string compressed = Compressed(library_);
    ASSERT_LT(compressed.size(), library_.size());
    testfs::WriteFile(dir_ + "\\comctl32.dll", compressed);
    testfs::WriteFile(dir_ + "\\comctl32.tm2", library_);
    EXPECT_TRUE(HoldsLibraryOf(dir_ + "\\comctl32.tm2", dir_ + "\\comctl32.dll"));
    // The compressed file itself (what a plain copy makes of it) is not the library.
    testfs::WriteFile(dir_ + "\\comctl32.tm2", compressed);
    EXPECT_FALSE(HoldsLibraryOf(dir_ + "\\comctl32.tm2", dir_ + "\\comctl32.dll"));
}

TEST_F(LibraryCheck, NothingMatchesAMissingCopyOrABrokenSource) {
    testfs::WriteFile(dir_ + "\\comctl32.dll", library_);
    EXPECT_FALSE(HoldsLibraryOf(dir_ + "\\comctl32.tm2", dir_ + "\\comctl32.dll"));
    testfs::MakeDirs(dir_ + "\\comctl32.tm2");
    EXPECT_FALSE(HoldsLibraryOf(dir_ + "\\comctl32.tm2", dir_ + "\\comctl32.dll"));
    testfs::RemoveTree(dir_ + "\\comctl32.tm2");

    // A compressed source cut short cannot be expanded: no copy can match it.
    const std::string compressed = Compressed(library_);
    testfs::WriteFile(dir_ + "\\comctl32.dll", compressed.substr(0, compressed.size() / 2));
    testfs::WriteFile(dir_ + "\\comctl32.tm2", library_);
    EXPECT_FALSE(HoldsLibraryOf(dir_ + "\\comctl32.tm2", dir_ + "\\comctl32.dll"));
    testfs::WriteFile(dir_ + "\\comctl32.tm2", "");
    EXPECT_FALSE(HoldsLibraryOf(dir_ + "\\comctl32.tm2", dir_ + "\\comctl32.dll"));
    // No source at all.
    testfs::DeleteFileIfAny(dir_ + "\\comctl32.dll");
    EXPECT_FALSE(HoldsLibraryOf(dir_ + "\\comctl32.tm2", dir_ + "\\comctl32.dll"));
}
