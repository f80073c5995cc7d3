#include "install/engine/portable/settings_logic.h"
#include "install/engine/portable/setup_values.h"
#include "install/shared/portable/paths.h"

#include <gtest/gtest.h>

using namespace korva;

TEST(DirectoryLevels, EveryLevelFromTheRootDown) {
    using Levels = std::vector<std::string>;
    EXPECT_EQ(DirectoryLevels("C:\\a\\b"), (Levels{"C:\\a", "C:\\a\\b"}));
    EXPECT_EQ(DirectoryLevels("C:\\a\\b\\"), (Levels{"C:\\a", "C:\\a\\b"}));
    EXPECT_EQ(DirectoryLevels("C:\\a\\\\b"), (Levels{"C:\\a", "C:\\a\\\\b"}));
    EXPECT_EQ(DirectoryLevels("C:/a/b"), (Levels{"C:/a", "C:/a/b"}));
    EXPECT_EQ(DirectoryLevels("\\\\server\\share\\a\\b"),
              (Levels{"\\\\server\\share\\a", "\\\\server\\share\\a\\b"}));
    EXPECT_EQ(DirectoryLevels("\\a"), (Levels{"\\a"}));
    EXPECT_EQ(DirectoryLevels("a\\b"), (Levels{"a", "a\\b"}));
}

TEST(DirectoryLevels, RootsAreNeverCreated) {
    EXPECT_TRUE(DirectoryLevels("C:\\").empty());
    EXPECT_TRUE(DirectoryLevels("C:").empty());
    EXPECT_TRUE(DirectoryLevels("\\\\server\\share").empty());
    EXPECT_TRUE(DirectoryLevels("\\\\server\\share\\").empty());
    EXPECT_TRUE(DirectoryLevels("").empty());
}

TEST(VolumeRootOf, TheDriveOrShareWithItsClosingBackslash) {
    EXPECT_EQ(VolumeRootOf("C:\\korva\\dati"), "C:\\");
    EXPECT_EQ(VolumeRootOf("C:\\"), "C:\\");
    EXPECT_EQ(VolumeRootOf("C:"), "C:\\");
    EXPECT_EQ(VolumeRootOf("C:korva"), "C:\\");
    EXPECT_EQ(VolumeRootOf("d:/korva/dati"), "d:\\");
    EXPECT_EQ(VolumeRootOf("\\\\server\\share\\korva"), "\\\\server\\share\\");
    EXPECT_EQ(VolumeRootOf("\\\\server\\share"), "\\\\server\\share\\");
    EXPECT_EQ(VolumeRootOf("//server/share/korva"), "\\\\server\\share\\");
    EXPECT_EQ(VolumeRootOf("\\korva"), "\\");
    EXPECT_EQ(VolumeRootOf("korva\\dati"), "");
    EXPECT_EQ(VolumeRootOf(""), "");
}

TEST(NormalizePath, DropsOneTrailingBackslashAndUpperCasesTheDrive) {
    EXPECT_EQ(NormalizePath("c:\\korva\\"), "C:\\korva");
    EXPECT_EQ(NormalizePath("c:\\korva\\\\"), "C:\\korva\\");
    EXPECT_EQ(NormalizePath("C:\\korva"), "C:\\korva");
    EXPECT_EQ(NormalizePath("\\\\server\\share\\"), "\\\\server\\share");
    EXPECT_EQ(NormalizePath("1:\\x"), "1:\\x");
    EXPECT_EQ(NormalizePath("c:"), "C:");
    EXPECT_EQ(NormalizePath(""), "");
    EXPECT_TRUE(HasDriveLetter("d:\\maps"));
    EXPECT_FALSE(HasDriveLetter("\\\\server\\share"));
    EXPECT_EQ(DriveRootOf("d:\\maps"), "d:\\");
}

TEST(SetupValues, NumbersAreReadAsTheirConversionsReadThem) {
    EXPECT_EQ(ParseUnsignedValue("30"), 30u);
    EXPECT_EQ(ParseUnsignedValue("  42 Mb"), 42u);
    EXPECT_EQ(ParseUnsignedValue("abc"), 0u);
    EXPECT_EQ(ParseUnsignedValue(""), 0u);
    EXPECT_EQ(ParseUnsignedValue("99999999999999"), 4294967295u);
    EXPECT_EQ(ParseUnsignedValue("-1"), 4294967295u);
    EXPECT_EQ(ParseSignedValue(" 8200"), 8200);
    EXPECT_EQ(ParseSignedValue("-5x"), -5);
    EXPECT_EQ(ParseSignedValue("x"), 0);
}

TEST(SetupValues, SpaceNeededPerTypeIn32Bits) {
    EXPECT_EQ(SpaceNeeded(1, 50, 500), 10000000u);
    EXPECT_EQ(SpaceNeeded(2, 50, 500), 50000000u);
    EXPECT_EQ(SpaceNeeded(3, 50, 500), 550000000u);
    // 5000 MB do not fit in 32 bits: the figure wraps as the installer computes it.
    EXPECT_EQ(SpaceNeeded(2, 5000, 0), static_cast<std::uint32_t>(5000ull * 1000000ull));
    EXPECT_EQ(FreeBytes32(std::uint64_t{512} * 64 * 65535), 2147450880u);
    EXPECT_EQ(FreeBytes32(UINT32_MAX), UINT32_MAX);
    // A nearly empty 16 GB volume has room for everything, whatever is left over 4 GB.
    EXPECT_EQ(FreeBytes32(std::uint64_t{4096} * 1048576 * 4), UINT32_MAX);
    EXPECT_EQ(FreeBytes32(std::uint64_t{4096} * (1048576 * 4 + 1)), UINT32_MAX);
}

TEST(SetupValues, AreaNamesExcludedOnlyExactly) {
    for (const char* excluded : {"demo", "kdemo", "KDEMO", "Kdemo", ".", "..", ".svn"}) {
        EXPECT_TRUE(IsExcludedAreaName(excluded)) << excluded;
    }
    for (const char* area : {"Demo", "DEMO", "kDemo", "italia", "demo2"}) {
        EXPECT_FALSE(IsExcludedAreaName(area)) << area;
    }
}

TEST(SetupValues, FileListsAndMapFileGroups) {
    EXPECT_EQ(SplitFileList("korva.exe,posinet.exe,korva.hlp"),
              (std::vector<std::string>{"korva.exe", "posinet.exe", "korva.hlp"}));
    EXPECT_EQ(SplitFileList("a,,b,"), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(SplitFileList("").empty());
    EXPECT_EQ(MapFilesToCopy("roma", false),
              (std::vector<std::string>{"roma.are", "roma.vgr", "roma.map"}));
    EXPECT_EQ(
        MapFilesToCopy("roma", true),
        (std::vector<std::string>{"roma.are", "roma.vgr", "roma.map", "roma.cmp", "roma.cm1"}));
    EXPECT_EQ(MapFileSizeList("roma", true), "roma.vgr,roma.are,roma.map,roma.cmp,roma.cm1");
    EXPECT_EQ(MapFileSizeList("roma", false), "roma.vgr,roma.are,roma.map");
}

TEST(MapSetList, GrowsByAppendingEvenTheSameName) {
    EXPECT_EQ(MapSetName("ITALIA.98"), "ITALIA");
    EXPECT_EQ(MapSetName("ROMA"), "ROMA");
    EXPECT_EQ(MapSetName(""), "");
    EXPECT_EQ(AppendMapSetList("", "ITALIA"), "ITALIA.");
    EXPECT_EQ(AppendMapSetList("ITALIA.", "ROMA"), "ITALIA,ROMA.");
    EXPECT_EQ(AppendMapSetList("ITALIA,ROMA.", "ROMA"), "ITALIA,ROMA,ROMA.");
    EXPECT_EQ(AppendMapSetList("", ""), ".");
    // Text after the ending "." of an edited list is dropped.
    EXPECT_EQ(AppendMapSetList("ITALIA.junk", "ROMA"), "ITALIA,ROMA.");
}

TEST(MapSetList, AListThatWouldNotFitKeepsTheEarlierOne) {
    std::string old = std::string(490, 'A') + ".";
    EXPECT_EQ(AppendMapSetList(old, "ROMA"), std::string(490, 'A') + ",ROMA.");
    EXPECT_EQ(AppendMapSetList(old, "PALERMO"), std::string(490, 'A') + ",PALERMO.");
    EXPECT_EQ(AppendMapSetList(old, "PALERMOX"), old);
    EXPECT_EQ(AppendMapSetList("", std::string(600, 'B')), "");
}

TEST(MemoryPairs, TheSecondNumberGrowsByHalf) {
    EXPECT_EQ(ScaleMemoryPair("1000,2001"), "1000,3001");
    EXPECT_EQ(ScaleMemoryPair("3000000, 6000000"), "3000000,9000000");
    EXPECT_EQ(ScaleMemoryPair(kDefaultMemoryPair), "3000000,9000000");
    // Scaling twice multiplies twice.
    EXPECT_EQ(ScaleMemoryPair(ScaleMemoryPair("1000,2000")), "1000,4500");
    EXPECT_EQ(ScaleMemoryPair("0,0"), "0,0");
}

TEST(MemoryPairs, ValuesThatDoNotParseBecomeTheScaledDefault) {
    for (const char* bad : {"", "abc", "1000", "1000;2000", ",2000", "1000,", "1000 2000"}) {
        EXPECT_EQ(ScaleMemoryPair(bad), "3000000,9000000") << '"' << bad << '"';
    }
    // Beyond 32 bits the product stays at the largest value instead of wrapping.
    EXPECT_EQ(ScaleMemoryPair("1,4000000000"), "1,4294967295");
}

TEST(RecentFiles, NewestOnTopAndTheFourthDropped) {
    RecentFiles files = {"a.vgr", "b.vgr", "c.vgr", "d.vgr"};
    PushRecentFile(files, "new.vgr");
    EXPECT_EQ(files, (RecentFiles{"new.vgr", "a.vgr", "b.vgr", "c.vgr"}));
    RecentFiles empty;
    for (const char* area : {"1.vgr", "2.vgr", "3.vgr"}) {
        PushRecentFile(empty, area);
    }
    EXPECT_EQ(empty, (RecentFiles{"3.vgr", "2.vgr", "1.vgr", ""}));
}

TEST(Progress, PercentTruncatesAndMayPassAHundred) {
    EXPECT_EQ(ProgressPercent(0, 1000), 0);
    EXPECT_EQ(ProgressPercent(999, 1000), 99);
    EXPECT_EQ(ProgressPercent(1000, 1000), 100);
    EXPECT_EQ(ProgressPercent(1500, 1000), 150);
    EXPECT_EQ(ProgressPercent(1, 3), 33);
    EXPECT_EQ(ProgressPercent(4000000000u, 4000000000u), 100);
    EXPECT_EQ(ProgressPercent(5, 0), 0);
    // The bar of a 314-pixel frame: (314 - 2) * percent / 100 - 1.
    EXPECT_EQ(ProgressBarEnd(314, 0), -1);
    EXPECT_EQ(ProgressBarEnd(314, 50), 155);
    EXPECT_EQ(ProgressBarEnd(314, 100), 311);
    EXPECT_EQ(ProgressBarEnd(314, 150), 467);
}
