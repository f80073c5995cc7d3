// The framework's plain-text readers: a line of a settings file as the disk holds it, and the
// mount points of the Linux mount table.
#include "framework/portable/mount_table_text.h"
#include "framework/portable/profile_text.h"

#include <gtest/gtest.h>

using namespace fw;

TEST(ProfileText, ALineIsFoundInItsSectionOnly) {
    const std::string text =
        "[boot]\r\nC:\\WINDOWS\\SYSTEM\\COMCTL32.DLL=C:\\x.tm2\r\n"
        "[Rename]\r\nNUL=C:\\old.tmp\r\n"
        "  C:\\WINDOWS\\SYSTEM\\comctl32.dll = C:\\WINDOWS\\SYSTEM\\comctl32.tm2 \r\n"
        "[other]\r\n";
    EXPECT_TRUE(ProfileTextHasLine(text, "rename", "C:\\windows\\system\\COMCTL32.DLL",
                                   "c:\\windows\\system\\COMCTL32.TM2"));
    EXPECT_TRUE(ProfileTextHasLine(text, "rename", "NUL", "C:\\old.tmp"));
    // The same key in another section, another value, or a value cut short.
    EXPECT_FALSE(
        ProfileTextHasLine(text, "rename", "C:\\WINDOWS\\SYSTEM\\COMCTL32.DLL", "C:\\x.tm2"));
    EXPECT_FALSE(ProfileTextHasLine(text, "rename", "C:\\WINDOWS\\SYSTEM\\comctl32.dll",
                                    "C:\\WINDOWS\\SYSTEM\\comctl32.tm"));
    EXPECT_FALSE(ProfileTextHasLine(text, "other", "NUL", "C:\\old.tmp"));
    EXPECT_FALSE(ProfileTextHasLine("", "rename", "NUL", "C:\\old.tmp"));
    // A section given twice, the last line without its end.
    EXPECT_TRUE(ProfileTextHasLine("[rename]\nA=1\n[x]\n[RENAME]\nB=2", "rename", "B", "2"));
    EXPECT_FALSE(ProfileTextHasLine("[rename\nB=2\n", "rename", "B", "2"));
}

TEST(MountTableText, MountPointsAreTheFifthFieldWithEscapesUndone) {
    const std::string table =
        "22 27 0:21 / /proc rw,relatime - proc proc rw\n"
        "27 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n"
        "49 27 254:0 /build/outside /build/prefix/drive_c/korva/mappe\\040vecchie rw - ext4 "
        "/dev/vda rw\n"
        "\n"
        "50 27 0:40 / /tmp/a\\134b rw - tmpfs tmpfs rw\n"
        "51 27 0:41 / relative rw - tmpfs tmpfs rw\n"
        "52 27 0:42 /\n";
    EXPECT_EQ(MountPointsOfTable(table),
              (std::vector<std::string>{"/proc", "/", "/build/prefix/drive_c/korva/mappe vecchie",
                                        "/tmp/a\\b"}));
    EXPECT_TRUE(MountPointsOfTable("").empty());
    EXPECT_EQ(MountPointsOfTable("1 2 3 4 /a\\04"), std::vector<std::string>{"/a\\04"});
}
