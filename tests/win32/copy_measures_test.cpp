// What the copy measures on real files and volumes: a file's size and the free space of the
// destination, the latter also in the way of systems without the extended free-space call.
#include "install/engine/copy_fault.h"
#include "install/engine/file_listing.h"
#include "install/engine/free_space.h"
#include "install/engine/platform_probes.h"
#include "scratch.h"

#include <gtest/gtest.h>

#include <winver.h>

#include <algorithm>
#include <utility>

using namespace korva;

TEST(CopyMeasures, FileSizesAgreeWhicheverWayTheyAreRead) {
    const std::string dir = testfs::FreshScratchDir("copy-measures-size");
    testfs::WriteFile(dir + "\\data.bin", std::string(70003, 'k'));
    testfs::WriteFile(dir + "\\empty.bin", "");
    testfs::MakeDirs(dir + "\\sub");
    ASSERT_TRUE(FileSizeFromAttributes(dir + "\\data.bin").has_value())
        << "this system has GetFileAttributesExA";
    const std::pair<std::string, unsigned long> cases[] = {
        {dir + "\\data.bin", 70003},
        {dir + "\\DATA.BIN", 70003},
        {dir + "\\empty.bin", 0},
        // A directory, a missing file and a name that would list other files have no size.
        {dir + "\\sub", 0},
        {dir + "\\missing.bin", 0},
        {dir + "\\missing\\data.bin", 0},
        {dir + "\\*.bin", 0},
        {dir + "\\data.bi?", 0},
        {dir + "\\data<", 0},
        {"", 0},
    };
    for (const auto& [path, size] : cases) {
        EXPECT_EQ(FileSizeOf(path), size) << path;
        EXPECT_EQ(FileSizeFromAttributes(path), size) << path;
        EXPECT_EQ(FileSizeFromDirectoryEntry(path), size) << path;
    }
}

TEST(CopyMeasures, FreeSpaceByClustersAgreesWithTheExtendedCall) {
    // A 1 MB file system as drive L: of the prefix, which nothing else writes to.
    testfs::ScopedSmallDrive drive('L', 1024);
    if (!drive.Mounted()) {
        GTEST_SKIP() << "this machine cannot mount a small file system";
    }
    testfs::MakeDirs("L:\\korva\\dati");
    const auto extended = FreeBytesFromExtendedCall("L:\\korva\\dati");
    const auto clusters = FreeBytesFromClusters("L:\\korva\\dati");
    ASSERT_TRUE(extended.has_value());
    ASSERT_TRUE(clusters.has_value());
    EXPECT_EQ(*clusters, *extended);
    EXPECT_GT(*clusters, 0u);
    EXPECT_LE(*clusters, 1024u * 1024u);
    // Any directory of the volume, also one not yet made, is measured at the volume's root.
    EXPECT_EQ(FreeBytesFromClusters("L:\\korva\\nuova\\cartella"), clusters);
    EXPECT_EQ(FreeBytesFromClusters("l:/korva"), clusters);
    EXPECT_EQ(FreeBytesOf("L:\\korva"), extended);

    testfs::WriteFile("L:\\korva\\dati\\pieno.bin", std::string(300 * 1024, 'p'));
    const auto after = FreeBytesFromClusters("L:\\korva\\dati");
    ASSERT_TRUE(after.has_value());
    EXPECT_LE(*after + 300u * 1024u, *clusters);
    EXPECT_EQ(FreeBytesFromExtendedCall("L:\\korva\\dati"), after);
}

TEST(CopyMeasures, AVolumeWithMoreThan4GBFreeHasRoomForTheCompleteInstallation) {
    // 4.5 GB free: what is left over 4 GB (0.5 GB) is less than a complete installation with
    // the default sizes needs (550,000,000 bytes), so a figure that wrapped would ask for space.
    testfs::ScopedSmallDrive drive('L', 4608u * 1024u);
    if (!drive.Mounted()) {
        GTEST_SKIP() << "this machine cannot mount a file system for drive L:";
    }
    const auto clusters = FreeBytesFromClusters("L:\\");
    ASSERT_TRUE(clusters.has_value());
    const std::uint32_t figure = PlatformFreeBytes("L:\\");
    EXPECT_EQ(figure, std::min<std::uint64_t>(*clusters, UINT32_MAX));
    EXPECT_GE(figure, 550000000u);
}

TEST(CopyMeasures, AVolumeThatIsNotThereHasNoFreeSpace) {
    EXPECT_FALSE(FreeBytesFromClusters("\\\\nessuno\\condivisione\\korva").has_value());
    EXPECT_FALSE(FreeBytesOf("\\\\nessuno\\condivisione\\korva").has_value());
}

TEST(CopyMeasures, AVersionInstallRefusalIsToldApartByTheDestination) {
    testfs::ScopedSmallDrive drive('L', 1024);
    if (!drive.Mounted()) {
        GTEST_SKIP() << "this machine cannot mount a small file system";
    }
    testfs::MakeDirs("L:\\korva");
    const std::uint64_t free = FreeBytesOf("L:\\korva").value_or(0);
    ASSERT_GT(free, 0u);
    const DWORD refused = VIF_CANNOTCREATE;
    EXPECT_EQ(VersionInstallFault(refused, "L:\\korva", free + 1).cause,
              DestinationCause::kDiskFull);
    EXPECT_EQ(VersionInstallFault(refused, "L:\\korva", free).cause,
              DestinationCause::kNotWritable);
    EXPECT_EQ(VersionInstallFault(refused, "L:\\nessuna", 1).cause, DestinationCause::kNoDirectory);
    EXPECT_EQ(VersionInstallFault(refused, "L:\\korva", 1).place, CopyFaultPlace::kDestination);
}
