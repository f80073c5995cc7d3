// Which directories a removal may empty: hostile spellings of protected directories, judged
// as the installer judges them once the platform has made the spelling absolute.
#include "removal_guard.h"

#include <gtest/gtest.h>

using namespace korva;

namespace {

const std::vector<std::string> kProtected = {
    "C:\\WINDOWS",
    "C:\\WINDOWS\\system32",
    "C:\\Program Files",
    "C:\\Program Files\\Common Files",
    "C:\\users\\root",
    "C:\\users\\root\\Desktop",
    "C:\\users\\root\\Application Data",
    "C:\\users\\Public\\Documents",
    "C:\\ProgramData",
};
const char* kInstalled = "C:\\korva";

// The verdict on a spelling whose full path the platform gave lexically (an absolute one).
RemovalVerdict Judge(const std::string& spelling, const std::string& installed = kInstalled) {
    if (HasUnsafeSpelling(spelling)) {
        return RemovalVerdict::unresolved;
    }
    return JudgeRemovalDirectory(CanonicalPath(spelling), kProtected, CanonicalPath(installed));
}

} // namespace

TEST(RemovalGuard, HostileSpellingsOfProtectedDirectoriesAreRefused) {
    struct Case {
        const char* spelling;
        RemovalVerdict verdict;
    };
    const Case cases[] = {
        {"C:\\windows\\..", RemovalVerdict::root},
        {"C:\\.", RemovalVerdict::root},
        {"c:/", RemovalVerdict::root},
        {"C:", RemovalVerdict::unresolved}, // drive-relative: the platform resolves it first
        {"C:\\korva\\..\\..\\..", RemovalVerdict::root},
        {"C:\\\\\\", RemovalVerdict::root},
        {"\\\\server\\share", RemovalVerdict::root},
        {"//server/share/", RemovalVerdict::root},
        {"\\\\server\\share\\korva\\..", RemovalVerdict::root},
        {"C:\\Program Files", RemovalVerdict::protectedDir},
        {"c:/program files/", RemovalVerdict::protectedDir},
        {"C:\\PROGRAM FILES\\.\\common files", RemovalVerdict::protectedDir},
        {"C:\\korva\\..\\Windows", RemovalVerdict::protectedDir},
        {"C:\\WINDOWS\\SYSTEM32\\..\\system32", RemovalVerdict::protectedDir},
        {"C:\\users", RemovalVerdict::protectedDir}, // holds the profile
        {"C:\\users\\Public", RemovalVerdict::protectedDir},
        {"C:\\users\\root\\Application Data", RemovalVerdict::protectedDir},
        {"C:\\users\\ROOT\\desktop\\", RemovalVerdict::protectedDir},
        // Spellings the platform reads in ways of its own are refused before it sees them.
        {"\\\\?\\C:\\", RemovalVerdict::unresolved},
        {"\\\\.\\C:\\korva", RemovalVerdict::unresolved},
        {"//?/C:/korva", RemovalVerdict::unresolved},
        {"\\??\\C:\\korva", RemovalVerdict::unresolved},
        {"C:\\windows.", RemovalVerdict::unresolved},
        {"C:\\windows \\", RemovalVerdict::unresolved},
        {"C:\\korva. . ", RemovalVerdict::unresolved},
        {"C:\\korva:stream", RemovalVerdict::unresolved},
        {"C:\\korva\\*", RemovalVerdict::unresolved},
        {"C:\\korva\\con", RemovalVerdict::unresolved},
        {"C:\\NUL.txt", RemovalVerdict::unresolved},
        {"C:\\korva\\com1", RemovalVerdict::unresolved},
        {"C:\\korva\tx", RemovalVerdict::unresolved},
        {"", RemovalVerdict::unresolved},
        {"korva", RemovalVerdict::unresolved},
        {"\\korva", RemovalVerdict::unresolved},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Judge(c.spelling), c.verdict) << c.spelling;
    }
    EXPECT_EQ(Judge(std::string(300, 'a')), RemovalVerdict::unresolved);
}

TEST(RemovalGuard, OnlyTheRecordedInstallationDirectoryIsEmptied) {
    for (const char* spelling : {"C:\\korva", "c:\\KORVA\\", "C:/korva/.", "C:\\x\\..\\korva"}) {
        EXPECT_EQ(Judge(spelling), RemovalVerdict::allowed) << spelling;
    }
    // Beside it, below it, above it, or with nothing recorded.
    EXPECT_EQ(Judge("C:\\korva2"), RemovalVerdict::notInstalled);
    EXPECT_EQ(Judge("C:\\korva\\maps"), RemovalVerdict::notInstalled);
    EXPECT_EQ(Judge("C:\\korva", ""), RemovalVerdict::notInstalled);
    EXPECT_EQ(Judge("C:\\korva", "C:\\korva\\maps"), RemovalVerdict::notInstalled);
    EXPECT_EQ(Judge("D:\\mappe\\korva", "D:\\Mappe\\Korva"), RemovalVerdict::allowed);
    EXPECT_EQ(Judge("\\\\server\\share\\korva", "//SERVER/share/korva"), RemovalVerdict::allowed);
    // Inside a protected folder is not above it: an installation in the profile is removable.
    EXPECT_EQ(Judge("C:\\users\\root\\korva", "C:\\users\\root\\korva"), RemovalVerdict::allowed);
    EXPECT_EQ(Judge("C:\\WINDOWS2", "C:\\windows2"), RemovalVerdict::allowed);
    // Accented letters fold as the platform folds them.
    EXPECT_EQ(Judge("C:\\CITT\xC0", "C:\\citt\xE0"), RemovalVerdict::allowed);
    // A recorded directory that is itself protected protects nothing less.
    EXPECT_EQ(Judge("C:\\Program Files", "C:\\Program Files"), RemovalVerdict::protectedDir);
}

TEST(RemovalGuard, CanonicalPathsAndContainment) {
    EXPECT_EQ(CanonicalPath("c:\\a\\\\b\\.\\c\\..\\"), "C:\\a\\b");
    EXPECT_EQ(CanonicalPath("C:\\..\\..\\a"), "C:\\a");
    EXPECT_EQ(CanonicalPath("\\\\srv\\sh\\..\\..\\x"), "\\\\srv\\sh\\x");
    EXPECT_EQ(CanonicalPath("\\\\srv"), "");
    EXPECT_EQ(CanonicalPath("\\\\.\\C:"), "");
    EXPECT_TRUE(IsSameOrInside("C:\\korva\\maps", "C:\\KORVA"));
    EXPECT_TRUE(IsSameOrInside("C:\\korva", "c:\\korva"));
    EXPECT_TRUE(IsSameOrInside("C:\\korva", "C:\\"));
    EXPECT_FALSE(IsSameOrInside("C:\\korva2", "C:\\korva"));
    EXPECT_FALSE(IsSameOrInside("C:\\kor", "C:\\korva"));
    EXPECT_FALSE(IsSameOrInside("C:\\korva", ""));
}
