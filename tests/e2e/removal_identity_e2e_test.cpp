// The removal judges what a directory is, not how it is spelt: the Windows directory and the
// user's folders reached by a second drive letter, a network name, drive Z: or a drive mapped
// to the home; the installer's own CD; folders inside the Windows directory; bind mounts and
// links in the tree; the 64-bit system's folders. Each case compares a listing of everything
// that could be lost, before and after.
#include "aliases.h"
#include "removal_fixture.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace e2e;

namespace {

std::string ShellFolder(int folder) {
    char path[MAX_PATH] = {};
    return SUCCEEDED(SHGetFolderPathA(nullptr, folder, nullptr, 0, path)) ? path : "";
}

// The prefix's drive C: as drive Z: shows it (the whole Linux tree).
std::string DriveCThroughZ() {
    char prefix[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("WINEPREFIX", prefix, MAX_PATH);
    return length > 0 && length < MAX_PATH ? testfs::WindowsPath(prefix) + "\\drive_c" : "";
}

std::string ParentOf(const std::string& path) {
    return path.substr(0, path.rfind('\\'));
}

bool IsAbsolute(const std::string& path) {
    return (path.size() >= 3 && path[1] == ':' && path[2] == '\\') || path.rfind("\\\\", 0) == 0;
}

// Sorted without regard to case, as the listings compare.
std::vector<std::string> Sorted(std::vector<std::string> paths) {
    std::sort(paths.begin(), paths.end(), [](const std::string& a, const std::string& b) {
        return lstrcmpiA(a.c_str(), b.c_str()) < 0;
    });
    return paths;
}

class RemovalByIdentity : public Removal {
protected:
    // The files of drive C: (relative to it) and of `trees`, with their roots.
    static std::vector<std::string> Listing(const std::vector<std::string>& trees) {
        std::vector<std::string> listing = DriveListing();
        for (const std::string& root : trees) {
            for (const std::string& entry : testfs::ListTree(root)) {
                listing.push_back(root + "\\" + entry);
            }
        }
        return listing;
    }

    // The files of `trees`, with their roots.
    static std::vector<std::string> TreeListing(const std::vector<std::string>& trees) {
        std::vector<std::string> listing;
        for (const std::string& root : trees) {
            for (const std::string& entry : testfs::ListTree(root)) {
                listing.push_back(root + (root.back() == '\\' ? "" : "\\") + entry);
            }
        }
        return listing;
    }

    // Runs the removal, which must find nothing to remove, and checks that nothing of the
    // trees `watched` has gone.
    void ExpectNothingRemovedOf(const std::vector<std::string>& watched) {
        const std::vector<std::string> before = TreeListing(watched);
        InstallerRun removal(cd_);
        StartRemoval(removal);
        EXPECT_EQ(RemovalMessage(removal.Pid()), kNothingText);
        EXPECT_EQ(removal.WaitExit(), 0);
        EXPECT_EQ(Joined(Missing(before, TreeListing(watched))), "");
    }

    // korva.ini names `korvaDir` in both keys and "korva.wmf" lies there (planted when it is
    // not): only the removal's judgement of the directory stands in the way. The removal must
    // say that nothing was found, and nothing may go of what it could reach: the tree below
    // `korvaDir`, the installation and `trees`.
    void ExpectRefused(const std::string& korvaDir, const std::vector<std::string>& trees = {}) {
        SCOPED_TRACE("KorvaDir=" + korvaDir);
        std::unique_ptr<testfs::ScopedFile> marker;
        const std::string markerPath =
            korvaDir + (korvaDir.back() == '\\' ? "" : "\\") + "korva.wmf";
        // A relative name is the installer's to resolve (it starts on the CD, which has one).
        if (IsAbsolute(korvaDir) && !testfs::Exists(markerPath)) {
            marker = std::make_unique<testfs::ScopedFile>(markerPath, "marker");
        }
        const std::string settings = Settings(korvaDir, korvaDir);
        WriteSettings(settings);
        std::vector<std::string> watched = trees;
        watched.push_back(destination_);
        if (IsAbsolute(korvaDir)) {
            watched.push_back(korvaDir);
        }
        ExpectNothingRemovedOf(watched);
        EXPECT_EQ(testfs::ReadFile(testfs::KorvaIniPath()), settings);
        EXPECT_EQ(Joined(GroupItems()), "KORVA '98 3.04.lnk\n");
    }

    // The hand installation named `korvaDir` (another name of the destination), recorded by
    // the installer as `recorded`: removed, and nothing else goes.
    void ExpectRemoved(const std::string& korvaDir, const std::string& recorded,
                       const std::vector<std::string>& trees = {}) {
        SCOPED_TRACE("KorvaDir=" + korvaDir);
        MakeHandInstallation(true);
        WriteSettings(Settings(recorded, korvaDir));
        const std::vector<std::string> installed = testfs::ListTree(destination_);
        const std::vector<std::string> before = Listing(trees);

        InstallerRun removal(cd_);
        StartRemoval(removal);
        EXPECT_EQ(RemovalMessage(removal.Pid()), kRemovedText);
        EXPECT_EQ(removal.WaitExit(), 0);

        std::vector<std::string> expected;
        for (const std::string& file : installed) {
            expected.push_back(destination_.substr(3) + "\\" + file); // relative to C:
        }
        expected.push_back(testfs::KorvaIniPath().substr(3));
        EXPECT_EQ(Joined(Sorted(Lost(before, Listing(trees)))), Joined(Sorted(expected)));
        EXPECT_FALSE(testfs::Exists(testfs::KorvaIniPath()));
    }

    // What `before` lists and `after` lacks, but for the program group, which the removal
    // deletes through Program Manager.
    static std::vector<std::string> Lost(const std::vector<std::string>& before,
                                         const std::vector<std::string>& after) {
        std::vector<std::string> lost = Missing(before, after);
        const std::string group = GroupFolder().substr(3);
        std::erase_if(lost, [&](const std::string& path) {
            return _strnicmp(path.c_str(), group.c_str(), group.size()) == 0;
        });
        return lost;
    }

    void SetUp() override {
        Removal::SetUp();
        if (!HasFatalFailure()) {
            MakeHandInstallation(true);
        }
    }
};

} // namespace

TEST_F(RemovalByIdentity, ASecondDriveLetterForTheDiskLeadsToTheSameFolders) {
    testfs::ScopedDriveLetter drive('K', "C:\\");
    const std::string windows = "K:" + testfs::WindowsDir().substr(2);
    ExpectRefused(windows);
    ExpectRefused("K:\\");
    ExpectRefused("K:" + ParentOf(ShellFolder(CSIDL_PROFILE)).substr(2)); // holds the profile
    // An installation reached through the second letter is an installation like any other.
    ExpectRemoved("K:" + destination_.substr(2), destination_);
}

TEST_F(RemovalByIdentity, ANetworkNameOfTheDiskLeadsToTheSameFolders) {
    testfs::ScopedNetworkName share("localhost", "c$", "C:\\");
    const std::string windows = share.Path() + testfs::WindowsDir().substr(2);
    ExpectRefused(windows);
    ExpectRefused(share.Path());
    ExpectRemoved(share.Path() + destination_.substr(2), destination_);
}

TEST_F(RemovalByIdentity, DriveZLeadsToTheSameFolders) {
    const std::string driveC = DriveCThroughZ();
    ASSERT_FALSE(driveC.empty());
    ExpectRefused(driveC);
    // The 64-bit system directory of a 64-bit prefix, which drive Z: does not redirect.
    ExpectRefused(driveC + testfs::WindowsDir().substr(2) + "\\system32");
    ExpectRefused(driveC + ShellFolder(CSIDL_PERSONAL).substr(2));
    ExpectRemoved(driveC + destination_.substr(2), destination_);
}

// Wine links the user's folders into the home directory, and a drive may be mapped to the
// home: a home of the test's own stands in for it, outside the prefix.
TEST_F(RemovalByIdentity, TheHomeAndItsLinkedFoldersByEveryName) {
    const testfs::ScopedOutsideDir homeDir("home-" + TestName());
    const std::string& home = homeDir.Path();
    testfs::MakeDirs(home + "\\Desktop\\progetti");
    testfs::WriteFile(home + "\\lettera.txt", "the user's letter");
    testfs::WriteFile(home + "\\Desktop\\appunti.txt", "the user's notes");
    testfs::WriteFile(home + "\\Desktop\\progetti\\piano.txt", "the user's plan");
    const std::string documents = ShellFolder(CSIDL_PERSONAL);
    const std::string desktop = ShellFolder(CSIDL_DESKTOPDIRECTORY);
    ASSERT_FALSE(documents.empty());
    ASSERT_FALSE(desktop.empty());
    testfs::ScopedLinkedFolder linkedDocuments(documents, home);
    testfs::ScopedLinkedFolder linkedDesktop(desktop, home + "\\Desktop");
    // The home through drive Z:, and the folders linked into it by their own names.
    ExpectRefused(home);
    ExpectRefused(home + "\\Desktop");
    ExpectRefused(documents, {home});
    // The home through a drive letter of its own.
    testfs::ScopedDriveLetter drive('H', home);
    ExpectRefused("H:\\");
    ExpectRefused("H:\\Desktop");

    // A directory inside the home holds no protected folder: an installation there goes, and
    // nothing else of the home.
    testfs::MakeDirs(home + "\\korva\\italia");
    for (const char* name : {"korva.wmf", "korva.exe", "italia\\italia.map"}) {
        testfs::WriteFile(home + "\\korva\\" + name, name);
    }
    WriteSettings(Settings(home + "\\korva", "H:\\korva"));
    const std::vector<std::string> before = Listing({home});
    InstallerRun removal(cd_);
    StartRemoval(removal);
    EXPECT_EQ(RemovalMessage(removal.Pid()), kRemovedText);
    EXPECT_EQ(removal.WaitExit(), 0);
    EXPECT_EQ(Joined(Sorted(Lost(before, Listing({home})))),
              Joined(Sorted({home + "\\korva\\italia\\italia.map", home + "\\korva\\korva.exe",
                             home + "\\korva\\korva.wmf", testfs::KorvaIniPath().substr(3)})));
}

TEST_F(RemovalByIdentity, TheInstallersOwnMediumIsNeverEmptied) {
    // Every CD root carries korva.wmf; a CD copied to a disk can be written.
    ASSERT_TRUE(testfs::Exists(cd_ + "\\korva.wmf"));
    const std::vector<std::string> cd = {ParentOf(cd_)};
    ExpectRefused(".", cd);
    ExpectRefused(cd_);
    ExpectRefused(ParentOf(cd_));
}

TEST_F(RemovalByIdentity, NothingInsideTheWindowsDirectoryIsEmptied) {
    const std::string inside = testfs::WindowsDir() + "\\korva-" + TestName();
    struct Planted {
        std::string dir;
        ~Planted() { testfs::RemoveTree(dir); }
    } planted{inside};
    testfs::MakeDirs(inside + "\\mappe");
    testfs::WriteFile(inside + "\\korva.exe", "program");
    testfs::WriteFile(inside + "\\mappe\\italia.map", "map");
    ExpectRefused(inside);
    ExpectRefused(testfs::WindowsDir() + "\\Fonts");
}

TEST_F(RemovalByIdentity, ABindMountInTheTreeRefusesTheWholeRemoval) {
    const testfs::ScopedOutsideDir sourceDir("bound-" + TestName());
    const std::string& source = sourceDir.Path();
    testfs::MakeDirs(source + "\\dentro");
    testfs::WriteFile(source + "\\altrui.txt", "somebody else's");
    testfs::WriteFile(source + "\\dentro\\profondo.txt", "somebody else's");
    testfs::MakeDirs(destination_ + "\\sub\\mappe");
    {
        testfs::ScopedBindMount mount(source, destination_ + "\\sub\\mappe");
        ASSERT_TRUE(mount.Mounted()) << "this machine cannot mount (the tests run as root)";
        // Wine shows the mount point as a plain directory.
        EXPECT_EQ(GetFileAttributesA((destination_ + "\\sub\\mappe").c_str()),
                  static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
        ExpectRefused(destination_, {source});
    }
    {
        // The Windows directory mounted into the installation.
        testfs::MakeDirs(destination_ + "\\sistema");
        testfs::ScopedBindMount mount(testfs::WindowsDir(), destination_ + "\\sistema");
        ASSERT_TRUE(mount.Mounted());
        ExpectRefused(destination_);
    }
    // Unmounted, the installation goes.
    testfs::RemoveTree(destination_ + "\\sistema");
    ExpectRemoved(destination_, destination_, {source});
    EXPECT_EQ(testfs::ReadFile(source + "\\dentro\\profondo.txt"), "somebody else's");
}

TEST_F(RemovalByIdentity, LinksToFilesAreLeftAndSoAreTheFilesTheyLeadTo) {
    const testfs::ScopedOutsideDir outsideDir("linked-" + TestName());
    const std::string& outside = outsideDir.Path();
    testfs::WriteFile(outside + "\\grande.map", "a big map on another disk");
    const std::string winIni = testfs::WindowsDir() + "\\win.ini";
    ASSERT_TRUE(testfs::Exists(winIni));
    const std::string winIniBefore = testfs::ReadFile(winIni);
    testfs::ScopedLink bigMap(destination_ + "\\grande.map", outside + "\\grande.map");
    testfs::ScopedLink settings(destination_ + "\\sub\\win.ini", winIni);
    // A link to a file of the installation itself (a hidden one, which stays).
    testfs::WriteFile(destination_ + "\\nascosto.txt", "hidden");
    SetFileAttributesA((destination_ + "\\nascosto.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    testfs::ScopedLink copy(destination_ + "\\copia.txt", destination_ + "\\nascosto.txt");
    // Wine shows a link to a file as an ordinary file.
    EXPECT_EQ(GetFileAttributesA((destination_ + "\\grande.map").c_str()),
              static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));

    WriteSettings(KorvaDirSettings());
    const std::vector<std::string> before = Listing({outside});
    InstallerRun removal(cd_);
    StartRemoval(removal);
    EXPECT_EQ(RemovalMessage(removal.Pid()), kRemovedText);
    EXPECT_EQ(removal.WaitExit(), 0);

    EXPECT_EQ(testfs::ReadFile(outside + "\\grande.map"), "a big map on another disk");
    EXPECT_EQ(testfs::ReadFile(winIni), winIniBefore);
    EXPECT_EQ(testfs::ReadFile(destination_ + "\\nascosto.txt"), "hidden");
    EXPECT_EQ(Joined(testfs::ListTree(destination_)),
              Joined({"copia.txt", "grande.map", "nascosto.txt", "sub\\win.ini"}));
    std::vector<std::string> expected;
    for (const char* file : {"a.txt", "b.txt", "c.txt", "korva.wmf", "sub\\x.txt"}) {
        expected.push_back(destination_.substr(3) + "\\" + file);
    }
    expected.push_back(testfs::KorvaIniPath().substr(3));
    EXPECT_EQ(Joined(Sorted(Lost(before, Listing({outside})))), Joined(Sorted(expected)));
}

// Outside the prefix, on drive Z:, an installation is removed as before.
TEST_F(RemovalByIdentity, AnInstallationOnDriveZOutsideThePrefixIsRemoved) {
    const testfs::ScopedOutsideDir outsideDir("z-" + TestName());
    const std::string installed = outsideDir.Path() + "\\korva";
    testfs::MakeDirs(installed + "\\italia\\rete");
    for (const char* name :
         {"korva.wmf", "korva.exe", "italia\\italia.map", "italia\\rete\\db.dat"}) {
        testfs::WriteFile(installed + "\\" + name, name);
    }
    testfs::WriteFile(outsideDir.Path() + "\\accanto.txt", "beside the installation");
    WriteSettings(Settings(installed, installed));
    const std::vector<std::string> driveBefore = DriveListing();
    InstallerRun removal(cd_);
    StartRemoval(removal);
    EXPECT_EQ(RemovalMessage(removal.Pid()), kRemovedText);
    EXPECT_EQ(removal.WaitExit(), 0);
    EXPECT_EQ(Joined(testfs::ListTree(outsideDir.Path())), "accanto.txt\n");
    EXPECT_TRUE(testfs::Exists(installed + "\\italia\\rete"));
    EXPECT_EQ(Joined(Lost(driveBefore, DriveListing())), testfs::KorvaIniPath().substr(3) + "\n");
}

// A 32-bit program on 64-bit Windows is shown the 32-bit system directory and the "(x86)"
// program folders; the 64-bit ones are the system's all the same.
TEST_F(RemovalByIdentity, TheSixtyFourBitSystemsFoldersAreProtected) {
    for (const char* folder : {"C:\\Program Files", "C:\\Program Files\\Common Files"}) {
        if (testfs::Exists(folder)) {
            ExpectRefused(folder);
        }
    }
    if (!testfs::RunsUnderWow64()) {
        GTEST_SKIP() << "the 64-bit folders are those of the 64-bit prefix";
    }
    ExpectRefused("C:\\Program Files (x86)");
    ExpectRefused(testfs::WindowsDir() + "\\sysnative");
    ExpectRefused(testfs::WindowsDir() + "\\syswow64");
}

// korva.ini itself a link (to settings kept elsewhere): the removal would have to delete it at
// the end, which would delete the file it leads to. Nothing is removed.
TEST_F(RemovalByIdentity, ASettingsFileThatIsALinkStopsTheRemovalBeforeAnythingGoes) {
    const testfs::ScopedOutsideDir outsideDir("ini-" + TestName());
    const std::string target = outsideDir.Path() + "\\korva.ini";
    testfs::WriteFile(target, KorvaDirSettings());
    testfs::DeleteFileIfAny(testfs::KorvaIniPath());
    testfs::ScopedLink link(testfs::KorvaIniPath(), target);
    ExpectNothingRemovedOf({outsideDir.Path(), destination_});
    EXPECT_EQ(testfs::ReadFile(target), KorvaDirSettings());
    EXPECT_EQ(Joined(GroupItems()), "KORVA '98 3.04.lnk\n");
}
