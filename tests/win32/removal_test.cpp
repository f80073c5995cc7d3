// The removal in-process, where the Windows directory can be a scratch directory: a settings
// file naming a directory that holds Windows removes nothing.
#include "install/engine/removal.h"
#include "scratch.h"

#include <gtest/gtest.h>

using namespace korva;

TEST(Removal, ADirectoryHoldingWindowsIsNotAnInstallation) {
    const std::string above = testfs::FreshScratchDir("removal-above-windows");
    const std::string windows = above + "\\WINDOWS";
    testfs::MakeDirs(windows);
    const std::string settings = windows + "\\korva.ini";
    testfs::WriteFile(above + "\\korva.wmf", "marker");
    testfs::WriteFile(above + "\\korva.exe", "program");
    testfs::WriteFile(windows + "\\system.ini", "[boot]\r\n");

    const auto settingsNaming = [](const std::string& dir) {
        return "[Installazione]\r\nDirectory_di_KORVA=" + dir + "\r\n[INFO]\r\nKorvaDir=" + dir +
               "\r\n";
    };
    for (const std::string& named : {above, windows, windows + "\\"}) {
        testfs::WriteFile(settings, settingsNaming(named));
        EXPECT_EQ(RemoveInstallation(windows), 0) << named;
    }
    EXPECT_EQ(testfs::ListTree(above).size(), 4u);

    // The same files one level down are an installation like any other.
    const std::string installed = above + "\\korva";
    testfs::MakeDirs(installed);
    testfs::CopyFileOrFail(above + "\\korva.wmf", installed + "\\korva.wmf");
    testfs::WriteFile(settings, settingsNaming(installed));
    EXPECT_EQ(RemoveInstallation(windows), 1);
    EXPECT_FALSE(testfs::Exists(installed + "\\korva.wmf"));
    EXPECT_FALSE(testfs::Exists(settings));
    EXPECT_TRUE(testfs::Exists(windows + "\\system.ini"));
}
