// The updater's file steps and the project's SZDD compressor against the platform's own
// expansion (LZ32 and the version installer) under Wine.
#include "ctlupdate/carried_library.h"
#include "ctlupdate/updater.h"
#include "framework/portable/szdd.h"
#include "scratch.h"
#include "test_name.h"

#include <windows.h>
#include <lzexpand.h>

#include <gtest/gtest.h>

#include <random>

using namespace korva;

namespace {

std::string Scratch(const char* suffix = "") {
    return testfs::FreshScratchDir(std::string("ctlupdate-") + testfs::TestName() + suffix);
}

std::string Compress(const std::string& data) {
    auto bytes =
        CompressSzdd({reinterpret_cast<const std::uint8_t*>(data.data()), data.size()}, 't');
    return std::string(bytes.begin(), bytes.end());
}

// Expands with the platform's LZ32 functions; "<failed>" when they refuse.
std::string ExpandWithLz32(const std::string& source, const std::string& dest) {
    OFSTRUCT sourceInfo{}, destInfo{};
    INT from = LZOpenFileA(const_cast<char*>(source.c_str()), &sourceInfo, OF_READ);
    if (from < 0) {
        return "<failed>";
    }
    INT to = LZOpenFileA(const_cast<char*>(dest.c_str()), &destInfo, OF_CREATE);
    if (to < 0) {
        LZClose(from);
        return "<failed>";
    }
    LONG copied = LZCopy(from, to);
    LZClose(from);
    LZClose(to);
    return copied < 0 ? "<failed>" : testfs::ReadFile(dest);
}

struct Sample {
    const char* name;
    std::string data;
};

std::vector<Sample> Samples() {
    std::mt19937 random(1998);
    std::string noise(300 * 1024, '\0');
    for (char& c : noise) {
        c = static_cast<char>(random());
    }
    std::string text;
    while (text.size() < 200000) {
        text += "Edizione " + std::to_string(text.size() % 977) + " della rete stradale.\r\n";
    }
    return {{"empty", ""},
            {"one", "x"},
            {"blanks", std::string(5000, ' ') + "fine"},
            {"repeated", std::string(70000, 'a')},
            {"text", text},
            {"noise", noise}};
}

} // namespace

TEST(SzddUnderWine, ProjectCompressorOutputExpandsThroughThePlatform) {
    std::string dir = Scratch();
    std::string outDir = Scratch("-out");
    for (const Sample& sample : Samples()) {
        SCOPED_TRACE(sample.name);
        std::string compressedName = std::string(sample.name) + ".tx_";
        testfs::WriteFile(dir + "\\" + compressedName, Compress(sample.data));

        std::string viaLz =
            ExpandWithLz32(dir + "\\" + compressedName, outDir + "\\" + sample.name + ".lz");
        EXPECT_TRUE(viaLz == sample.data) << "LZ32 gave " << viaLz.size() << " bytes";

        std::string expandedName = std::string(sample.name) + ".txt";
        EXPECT_EQ(ExpandCarriedFile(dir, compressedName, outDir, expandedName), 1);
        std::string viaVersion = testfs::ReadFile(outDir + "\\" + expandedName);
        EXPECT_TRUE(viaVersion == sample.data)
            << "the version installer gave " << viaVersion.size() << " bytes";
    }
}

TEST(Updater, CarriedBlockIsTheConfiguredLibraryCompressed) {
    auto carried = CarriedLibrary();
    std::string block(reinterpret_cast<const char*>(carried.data()), carried.size());
    EXPECT_EQ(block.substr(0, 4), "SZDD");
    EXPECT_TRUE(block == testfs::ReadFile(testfs::WindowsPath(KORVA_CARRIED_SZDD_UNIX)));
    SzddExpansion expanded = ExpandSzdd({carried.data(), carried.size()});
    ASSERT_TRUE(expanded.ok) << expanded.error;
    std::string library = testfs::ReadFile(testfs::WindowsPath(KORVA_CARRIED_LIBRARY_UNIX));
    EXPECT_GT(library.size(), 0u);
    EXPECT_TRUE(std::string(expanded.data.begin(), expanded.data.end()) == library);
}

TEST(Updater, WriteCarriedFileReplacesAWholeLongerFile) {
    std::string path = Scratch() + "\\comctl32.tm_";
    testfs::WriteFile(path, std::string(100000, 'X'));
    const char data[] = "SZDD new content";
    EXPECT_EQ(WriteCarriedFile(path, data, sizeof data - 1), 1);
    EXPECT_EQ(testfs::ReadFile(path), "SZDD new content");
    EXPECT_EQ(WriteCarriedFile(path, data, 0), 1);
    EXPECT_EQ(testfs::ReadFile(path), "");
}

TEST(Updater, WriteCarriedFileFailsWhenThePathCannotBeAFile) {
    std::string dir = Scratch();
    testfs::MakeDirs(dir + "\\comctl32.tm_");
    EXPECT_EQ(WriteCarriedFile(dir + "\\comctl32.tm_", "x", 1), 0);
    EXPECT_EQ(WriteCarriedFile(dir + "\\no\\such\\comctl32.tm_", "x", 1), 0);
}

TEST(Updater, ExpandFailsOnEveryFailureOfTheVersionInstaller) {
    std::string dir = Scratch();
    EXPECT_EQ(ExpandCarriedFile(dir, "missing.tm_", dir, "missing.tmp"), 0);
    EXPECT_FALSE(testfs::Exists(dir + "\\missing.tmp"));
    // A plain (uncompressed) source is copied as it is.
    testfs::WriteFile(dir + "\\plain.tm_", "not compressed");
    EXPECT_EQ(ExpandCarriedFile(dir, "plain.tm_", dir, "plain.tmp"), 1);
    EXPECT_EQ(testfs::ReadFile(dir + "\\plain.tmp"), "not compressed");
    // A destination that cannot be created.
    testfs::MakeDirs(dir + "\\blocked.tmp");
    EXPECT_EQ(ExpandCarriedFile(dir, "plain.tm_", dir, "blocked.tmp"), 0);
    // An earlier destination that cannot be replaced: it stays as it was, and the attempt
    // leaves no temporary copy behind.
    testfs::WriteFile(dir + "\\stale.tmp", "stale");
    {
        testfs::ScopedReadOnly locked(dir + "\\stale.tmp");
        EXPECT_EQ(ExpandCarriedFile(dir, "plain.tm_", dir, "stale.tmp"), 0);
    }
    EXPECT_EQ(testfs::ReadFile(dir + "\\stale.tmp"), "stale");
    for (const std::string& name : testfs::ListTree(dir)) {
        EXPECT_NE(_strnicmp(name.c_str(), "ver", 3), 0) << name;
    }
}
