// Which directories a removal may empty, and which destinations the installer may install into,
// judged on made-up facts: a small world of directories with their identities, second names
// (drive letters, network names, links, bind mounts) and the protected folders.
#include "install/engine/portable/removal_guard.h"

#include <gtest/gtest.h>

#include <map>

using namespace korva;

namespace {

std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

std::string Parent(const std::string& canonical) {
    if (IsRootPath(canonical)) {
        return "";
    }
    const std::size_t cut = canonical.rfind('\\');
    return CanonicalPath(canonical.substr(0, cut == 2 ? 3 : cut));
}

// The made-up platform: directories with a file index, and second names for them. What it says
// of a path is what a handle would say: the index and the final path of the place it leads to.
class World {
public:
    World() {
        for (const char* dir : {"C:\\",
                                "C:\\WINDOWS",
                                "C:\\WINDOWS\\system32",
                                "C:\\WINDOWS\\system32\\drivers",
                                "C:\\Program Files",
                                "C:\\Program Files\\Common Files",
                                "C:\\Program Files (x86)",
                                "C:\\users",
                                "C:\\users\\root",
                                "Z:\\home\\root\\Scrivania",
                                "C:\\korva",
                                "C:\\korva\\italia",
                                "C:\\korva\\italia\\rete",
                                "C:\\korva\\sicilia",
                                "Z:\\",
                                "Z:\\home",
                                "Z:\\home\\root",
                                "Z:\\home\\root\\mappe",
                                "Z:\\cd",
                                "Z:\\cd\\install",
                                "Z:\\cd\\install\\cd_ita",
                                "Z:\\build",
                                "Z:\\build\\fuori"}) {
            Dir(dir);
        }
        Alias("D:\\", "C:\\");                                 // a second drive letter for the disk
        Alias("\\\\localhost\\c$", "C:\\");                    // a network name for it
        Alias("Z:\\prefix\\drive_c", "C:\\");                  // the disk seen through drive Z:
        Alias("C:\\PROG~FBU", "C:\\Program Files");            // a short name
        Alias("H:\\", "Z:\\home\\root");                       // a drive letter for the home
        Alias("C:\\users\\root\\Documents", "Z:\\home\\root"); // folders linked into it
        Alias("C:\\users\\root\\Desktop", "Z:\\home\\root\\Scrivania");
    }

    void Dir(const std::string& path) { index_[Lower(path)] = {path, ++lastIndex_}; }
    void Alias(const std::string& name, const std::string& target) {
        aliases_[Lower(name)] = target;
    }

    // Where a spelling leads: second names replaced by the place they name.
    std::string Resolved(const std::string& spelled) const {
        std::string path = CanonicalPath(spelled);
        for (bool changed = true; changed;) {
            changed = false;
            for (const auto& [name, target] : aliases_) {
                if (IsSameOrInside(path, name)) {
                    std::string rest = path.substr(name.size());
                    if (!rest.empty() && rest[0] == '\\') {
                        rest.erase(0, 1);
                    }
                    path = CanonicalPath(rest.empty() ? target : target + "\\" + rest);
                    changed = true;
                    break;
                }
            }
        }
        return path;
    }

    FileIdentity Id(const std::string& spelled) const {
        FileIdentity identity;
        const std::string resolved = Resolved(spelled);
        identity.path = resolved;
        const auto found = index_.find(Lower(resolved));
        if (found == index_.end()) {
            return identity;
        }
        identity.exists = true;
        identity.path = found->second.first;
        if (windows95) {
            // No handle to a directory, no final path: the spelling resolved level by level,
            // which sees no second names.
            identity.path = CanonicalPath(spelled);
        } else {
            identity.hasIndex = true;
            identity.volume = 0x43000000;
            identity.index = found->second.second;
        }
        return identity;
    }

    DirectoryChain Chain(const std::string& spelled) const {
        DirectoryChain chain;
        chain.self = Id(spelled);
        for (std::string level = Parent(chain.self.path); !level.empty(); level = Parent(level)) {
            chain.above.push_back(Id(level));
        }
        return chain;
    }

    GuardedFolders Guarded() const {
        GuardedFolders guarded;
        for (const char* folder :
             {"C:\\WINDOWS", "C:\\WINDOWS\\system32", "C:\\Program Files",
              "C:\\Program Files\\Common Files", "C:\\Program Files (x86)", "C:\\users\\root",
              "C:\\users\\root\\Desktop", "C:\\users\\root\\Start Menu"}) {
            guarded.protectedFolders.push_back(Chain(folder));
        }
        // Documents is a link: protected where it leads and where its name is.
        guarded.protectedFolders.push_back(Chain("C:\\users\\root\\Documents"));
        DirectoryChain named;
        named.self.path = "C:\\users\\root\\Documents";
        named.above = Chain("C:\\users\\root").above;
        named.above.insert(named.above.begin(), Id("C:\\users\\root"));
        guarded.protectedFolders.push_back(named);
        guarded.windowsFolders = {Id("C:\\WINDOWS"), Id("C:\\WINDOWS\\system32")};
        guarded.installerDir = Chain("Z:\\cd\\install");
        for (const char* root : {"C:\\", "Z:\\", "D:\\", "H:\\"}) {
            guarded.driveRoots.push_back(Id(root));
        }
        return guarded;
    }

    TreeDirectory Tree(const std::string& place) const {
        TreeDirectory tree;
        tree.place = place;
        tree.identity = Id(place);
        return tree;
    }

    // korva.ini naming `korvaDir` and the installer's record `recorded`, the marker there, and
    // an installation of two areas with a few files.
    RemovalFacts Removal(const std::string& korvaDir, const std::string& recorded) const {
        RemovalFacts facts;
        facts.korvaDir = korvaDir;
        facts.finalPathsKnown = !windows95;
        if (!CanonicalPath(korvaDir).empty() && !HasUnsafeSpelling(korvaDir)) {
            facts.installDir = Chain(korvaDir);
        }
        facts.recordedDir = Id(recorded);
        facts.markerPresent = true;
        facts.settingsPlain = true;
        facts.guarded = Guarded();
        facts.tree = Tree(facts.installDir.self.path);
        if (facts.tree.place == "C:\\korva") {
            TreeDirectory italia = Tree("C:\\korva\\italia");
            TreeDirectory rete = Tree("C:\\korva\\italia\\rete");
            rete.files = {File("C:\\korva\\italia\\rete\\db.dat")};
            italia.subdirectories = {rete};
            italia.files = {File("C:\\korva\\italia\\italia.vgr")};
            facts.tree.subdirectories = {italia, Tree("C:\\korva\\sicilia")};
            facts.tree.files = {File("C:\\korva\\korva.exe"), File("C:\\korva\\korva.wmf")};
        }
        return facts;
    }

    TreeFile File(const std::string& place, const std::string& leadsTo = "") const {
        return TreeFile{place, windows95 ? "" : (leadsTo.empty() ? place : leadsTo)};
    }

    bool windows95 = false;

private:
    std::map<std::string, std::pair<std::string, std::uint64_t>> index_;
    std::map<std::string, std::string> aliases_;
    std::uint64_t lastIndex_ = 0;
};

const char* Name(RemovalVerdict verdict) {
    switch (verdict) {
    case RemovalVerdict::allowed:
        return "allowed";
    case RemovalVerdict::noDirectory:
        return "noDirectory";
    case RemovalVerdict::unresolved:
        return "unresolved";
    case RemovalVerdict::relative:
        return "relative";
    case RemovalVerdict::root:
        return "root";
    case RemovalVerdict::protectedDir:
        return "protectedDir";
    case RemovalVerdict::insideWindows:
        return "insideWindows";
    case RemovalVerdict::installerMedium:
        return "installerMedium";
    case RemovalVerdict::mountPoint:
        return "mountPoint";
    case RemovalVerdict::noMarker:
        return "noMarker";
    case RemovalVerdict::notInstalled:
        return "notInstalled";
    }
    return "?";
}

struct DirectoryCase {
    const char* korvaDir;
    RemovalVerdict verdict;
};

void ExpectVerdicts(const World& world, const std::vector<DirectoryCase>& cases) {
    for (const DirectoryCase& c : cases) {
        // Both keys name the directory: only the judgement stands in the way.
        const RemovalPlan plan = JudgeRemoval(world.Removal(c.korvaDir, c.korvaDir));
        EXPECT_STREQ(Name(plan.verdict), Name(c.verdict)) << c.korvaDir;
        if (plan.verdict != RemovalVerdict::allowed) {
            EXPECT_TRUE(plan.files.empty()) << c.korvaDir;
        }
    }
}

} // namespace

TEST(RemovalGuard, EveryNameOfAProtectedFolderOrARootIsRefused) {
    ExpectVerdicts(
        World(), {
                     {"C:\\WINDOWS", RemovalVerdict::protectedDir},
                     {"D:\\WINDOWS", RemovalVerdict::protectedDir},
                     {"\\\\localhost\\c$\\windows", RemovalVerdict::protectedDir},
                     {"Z:\\prefix\\drive_c\\WINDOWS\\system32", RemovalVerdict::protectedDir},
                     {"C:\\PROG~FBU", RemovalVerdict::protectedDir},
                     {"C:\\Program Files\\Common Files", RemovalVerdict::protectedDir},
                     {"C:\\users", RemovalVerdict::protectedDir}, // holds the profile
                     // Folders linked into the home, which drive H: shows as its root.
                     {"C:\\users\\root\\Desktop", RemovalVerdict::protectedDir},
                     {"Z:\\home\\root\\Scrivania", RemovalVerdict::protectedDir}, // where it leads
                     {"H:\\Scrivania", RemovalVerdict::protectedDir},
                     {"C:\\users\\root\\Documents", RemovalVerdict::root},
                     {"Z:\\home\\root", RemovalVerdict::root},
                     {"Z:\\home", RemovalVerdict::protectedDir},
                     {"H:\\", RemovalVerdict::root},
                     {"C:\\", RemovalVerdict::root},
                     {"D:\\", RemovalVerdict::root},
                     {"Z:\\prefix\\drive_c", RemovalVerdict::root},
                     {"\\\\localhost\\c$", RemovalVerdict::root},
                     {"C:\\windows\\..", RemovalVerdict::root},
                     // Inside the Windows directory, by any name.
                     {"C:\\WINDOWS\\system32\\drivers", RemovalVerdict::insideWindows},
                     {"D:\\windows\\system32\\drivers", RemovalVerdict::insideWindows},
                     // The installer's own medium: its directory and every directory above it.
                     {"Z:\\cd\\install", RemovalVerdict::installerMedium},
                     {"Z:\\cd", RemovalVerdict::installerMedium},
                     {"Z:\\", RemovalVerdict::root},
                     // A name that depends on where the program was started.
                     {".", RemovalVerdict::relative},
                     {"korva", RemovalVerdict::relative},
                     {"C:korva", RemovalVerdict::relative},
                     {"\\korva", RemovalVerdict::relative},
                     {"", RemovalVerdict::noDirectory},
                     {"C:\\nowhere", RemovalVerdict::unresolved},
                     {"C:\\korva\\con", RemovalVerdict::unresolved},
                     {"\\\\?\\C:\\korva", RemovalVerdict::unresolved},
                 });
}

TEST(RemovalGuard, InstallationsInsideProtectedFoldersAndOnOtherDrivesAreRemoved) {
    World world;
    world.Dir("C:\\Program Files\\KORVA");
    world.Dir("Z:\\home\\root\\Scrivania\\korva");
    ExpectVerdicts(world, {
                              {"C:\\korva", RemovalVerdict::allowed},
                              {"D:\\korva", RemovalVerdict::allowed},
                              {"C:\\Program Files\\KORVA", RemovalVerdict::allowed},
                              {"C:\\users\\root\\Desktop\\korva", RemovalVerdict::allowed},
                              {"H:\\mappe", RemovalVerdict::allowed}, // inside Documents
                              {"Z:\\home\\root\\mappe", RemovalVerdict::allowed},
                              {"Z:\\cd\\install\\cd_ita", RemovalVerdict::allowed},
                              {"Z:\\build\\fuori", RemovalVerdict::allowed},
                          });
}

TEST(RemovalGuard, TheRecordedDirectoryMustBeTheSamePlace) {
    World world;
    EXPECT_EQ(JudgeRemoval(world.Removal("C:\\korva", "Z:\\prefix\\drive_c\\KORVA\\")).verdict,
              RemovalVerdict::allowed);
    EXPECT_EQ(JudgeRemoval(world.Removal("C:\\korva", "C:\\korva\\italia")).verdict,
              RemovalVerdict::notInstalled);
    EXPECT_EQ(JudgeRemoval(world.Removal("C:\\korva", "")).verdict, RemovalVerdict::notInstalled);
    EXPECT_EQ(JudgeRemoval(world.Removal("C:\\korva", "C:\\elsewhere")).verdict,
              RemovalVerdict::notInstalled);
    RemovalFacts noMarker = world.Removal("C:\\korva", "C:\\korva");
    noMarker.markerPresent = false;
    EXPECT_EQ(JudgeRemoval(noMarker).verdict, RemovalVerdict::noMarker);
    // korva.ini that is a link: deleting it at the end would delete what it leads to.
    RemovalFacts linkedSettings = world.Removal("C:\\korva", "C:\\korva");
    linkedSettings.settingsPlain = false;
    EXPECT_EQ(JudgeRemoval(linkedSettings).verdict, RemovalVerdict::unresolved);
}

TEST(RemovalGuard, FilesAreDeletedSubdirectoriesFirstAndLinksAreLeft) {
    World world;
    RemovalFacts facts = world.Removal("C:\\korva", "C:\\korva");
    // A link to a file outside, one to the Windows directory's win.ini, and one to a file of
    // the installation itself.
    facts.tree.files.push_back(world.File("C:\\korva\\grande.map", "Z:\\dischi\\grande.map"));
    facts.tree.files.push_back(world.File("C:\\korva\\win.ini", "C:\\WINDOWS\\win.ini"));
    facts.tree.subdirectories[1].files = {
        world.File("C:\\korva\\sicilia\\copia.exe", "C:\\korva\\korva.exe")};
    // A link to a directory: never entered, whatever the walk found behind it.
    TreeDirectory linked = world.Tree("C:\\korva\\fuori");
    linked.identity = world.Id("Z:\\build\\fuori");
    linked.reparsePoint = true;
    linked.files = {world.File("C:\\korva\\fuori\\x.txt", "Z:\\build\\fuori\\x.txt")};
    facts.tree.subdirectories.push_back(linked);
    const RemovalPlan plan = JudgeRemoval(facts);
    ASSERT_EQ(plan.verdict, RemovalVerdict::allowed);
    EXPECT_EQ(plan.files, (std::vector<std::string>{
                              "C:\\korva\\italia\\rete\\db.dat", "C:\\korva\\italia\\italia.vgr",
                              "C:\\korva\\korva.exe", "C:\\korva\\korva.wmf"}));
}

TEST(RemovalGuard, ADirectoryOfTheTreeThatIsOrHoldsAGuardedFolderRefusesTheWhole) {
    const World world;
    struct TreeCase {
        const char* name;
        TreeDirectory subdirectory;
        RemovalVerdict verdict;
    };
    TreeDirectory bindOfSystem = world.Tree("C:\\korva\\sistema"); // a bind mount of system32
    bindOfSystem.identity = world.Id("C:\\WINDOWS\\system32");
    bindOfSystem.identity.path = "C:\\korva\\sistema";
    TreeDirectory bindOfUsers = world.Tree("C:\\korva\\utenti");
    bindOfUsers.identity = world.Id("C:\\users");
    bindOfUsers.identity.path = "C:\\korva\\utenti";
    TreeDirectory bindOfRoot = world.Tree("C:\\korva\\radice");
    bindOfRoot.identity = world.Id("Z:\\");
    bindOfRoot.identity.path = "C:\\korva\\radice";
    TreeDirectory bindOfCd = world.Tree("C:\\korva\\cd");
    bindOfCd.identity = world.Id("Z:\\cd");
    bindOfCd.identity.path = "C:\\korva\\cd";
    TreeDirectory mounted = world.Tree("C:\\korva\\montata"); // a bind mount of anything
    mounted.identity.exists = true;
    mounted.identity.path = "C:\\korva\\montata";
    mounted.listedAsMountPoint = true;
    TreeDirectory volume = mounted; // another file system: a reparse point where it seems
    volume.listedAsMountPoint = false;
    volume.reparsePoint = true;
    TreeDirectory loop = world.Tree("C:\\korva\\ancora"); // the installation itself again
    loop.identity = world.Id("C:\\korva");
    loop.identity.path = "C:\\korva\\ancora";
    TreeDirectory unknown = world.Tree("C:\\korva\\ignota");
    unknown.identity = FileIdentity{};
    const TreeCase cases[] = {
        {"bind mount of the system directory", bindOfSystem, RemovalVerdict::protectedDir},
        {"bind mount of the users", bindOfUsers, RemovalVerdict::protectedDir},
        {"bind mount of a root", bindOfRoot, RemovalVerdict::root},
        {"bind mount of the CD", bindOfCd, RemovalVerdict::installerMedium},
        {"listed mount point", mounted, RemovalVerdict::mountPoint},
        {"mounted volume", volume, RemovalVerdict::mountPoint},
        {"second name of the tree", loop, RemovalVerdict::mountPoint},
        {"directory that cannot be told", unknown, RemovalVerdict::unresolved},
    };
    for (const TreeCase& c : cases) {
        RemovalFacts facts = world.Removal("C:\\korva", "C:\\korva");
        // Deep in the tree: nothing above it may be deleted either.
        facts.tree.subdirectories[0].subdirectories[0].subdirectories.push_back(c.subdirectory);
        const RemovalPlan plan = JudgeRemoval(facts);
        EXPECT_STREQ(Name(plan.verdict), Name(c.verdict)) << c.name;
        EXPECT_TRUE(plan.files.empty()) << c.name;
    }
    RemovalFacts facts = world.Removal("C:\\korva", "C:\\korva");
    facts.tree.listedAsMountPoint = true; // the installation directory itself
    EXPECT_EQ(JudgeRemoval(facts).verdict, RemovalVerdict::mountPoint);
    // A tree that could not be listed: not even the settings file may go.
    facts = world.Removal("C:\\korva", "C:\\korva");
    facts.tree.identity.exists = false;
    EXPECT_EQ(JudgeRemoval(facts).verdict, RemovalVerdict::unresolved);
    EXPECT_EQ(JudgeInstallationDirectory(facts), RemovalVerdict::allowed);
}

TEST(RemovalGuard, OnWindows95TheResolvedLongPathIsTheIdentity) {
    World world;
    world.windows95 = true;
    world.Dir("C:\\Program Files\\KORVA");
    ExpectVerdicts(world, {
                              {"C:\\windows", RemovalVerdict::protectedDir},
                              {"C:\\WINDOWS\\system32\\drivers", RemovalVerdict::insideWindows},
                              {"C:\\users", RemovalVerdict::protectedDir},
                              {"C:\\", RemovalVerdict::root},
                              {"Z:\\cd", RemovalVerdict::installerMedium},
                              {"C:\\korva", RemovalVerdict::allowed},
                              {"C:\\Program Files\\KORVA", RemovalVerdict::allowed},
                          });
    // Without final paths, files are deleted as listed (that system has no links to files).
    const RemovalPlan plan = JudgeRemoval(world.Removal("C:\\korva", "C:\\korva"));
    EXPECT_EQ(plan.files.size(), 4u);
}

TEST(RemovalGuard, TheDestinationPromptRefusesWhatTheRemovalWould) {
    World world;
    const GuardedFolders guarded = world.Guarded();
    struct DestinationCase {
        const char* typed;
        RemovalVerdict verdict;
    };
    const DestinationCase cases[] = {
        {"C:\\Program Files", RemovalVerdict::protectedDir},
        {"C:\\PROG~FBU", RemovalVerdict::protectedDir},
        {"C:\\", RemovalVerdict::root},
        {"D:\\", RemovalVerdict::root},
        {"C:\\WINDOWS", RemovalVerdict::protectedDir},
        {"C:\\WINDOWS\\korva", RemovalVerdict::insideWindows},
        {"D:\\windows\\system32\\drivers\\korva\\mappe", RemovalVerdict::insideWindows},
        {"C:\\users", RemovalVerdict::protectedDir},
        {"C:\\users\\root\\Start Menu", RemovalVerdict::protectedDir}, // missing, by its name
        {"Z:\\cd", RemovalVerdict::installerMedium},
        {"korva", RemovalVerdict::relative},
        {"C:\\korva", RemovalVerdict::allowed},
        {"C:\\korva2\\nuova", RemovalVerdict::allowed},
        {"C:\\Program Files\\KORVA", RemovalVerdict::allowed},
        {"H:\\korva", RemovalVerdict::allowed},
        {"Q:\\korva", RemovalVerdict::allowed}, // no such drive: its creation fails
    };
    for (const DestinationCase& c : cases) {
        DestinationFacts facts;
        facts.typed = c.typed;
        std::string level = CanonicalPath(c.typed);
        while (!level.empty() && !world.Id(level).exists) {
            const std::string parent = Parent(level);
            const std::string name =
                parent.empty() ? level
                               : level.substr(parent.size() + (parent.back() == '\\' ? 0 : 1));
            facts.missing = facts.missing.empty() ? name : name + "\\" + facts.missing;
            level = parent;
        }
        if (!level.empty()) {
            facts.existing = world.Chain(level);
        }
        EXPECT_STREQ(Name(JudgeDestination(facts, guarded)), Name(c.verdict)) << c.typed;
    }
    DestinationFacts mounted;
    mounted.typed = "C:\\korva";
    mounted.existing = world.Chain("C:\\korva");
    mounted.listedAsMountPoint = true;
    EXPECT_EQ(JudgeDestination(mounted, guarded), RemovalVerdict::mountPoint);
}

TEST(RemovalGuard, UnsafeSpellingsAreRefusedBeforeThePlatformSeesThem) {
    for (const char* spelling :
         {"\\\\?\\C:\\", "\\\\.\\C:\\korva", "//?/C:/korva", "\\??\\C:\\korva", "C:\\windows.",
          "C:\\windows \\", "C:\\korva. . ", "C:\\korva:stream", "C:\\korva\\*", "C:\\korva\\con",
          "C:\\NUL.txt", "C:\\korva\\com1", "C:\\korva\tx", ""}) {
        EXPECT_TRUE(HasUnsafeSpelling(spelling)) << spelling;
    }
    EXPECT_TRUE(HasUnsafeSpelling(std::string(300, 'a')));
    for (const char* spelling : {"C:\\korva", "c:/program files/", "\\\\server\\share\\korva",
                                 "C:\\korva\\..\\windows", "C:\\CITT\xC0"}) {
        EXPECT_FALSE(HasUnsafeSpelling(spelling)) << spelling;
    }
}

TEST(RemovalGuard, CanonicalPathsAndContainment) {
    EXPECT_EQ(CanonicalPath("c:\\a\\\\b\\.\\c\\..\\"), "C:\\a\\b");
    EXPECT_EQ(CanonicalPath("C:\\..\\..\\a"), "C:\\a");
    EXPECT_EQ(CanonicalPath("\\\\srv\\sh\\..\\..\\x"), "\\\\srv\\sh\\x");
    EXPECT_EQ(CanonicalPath("\\\\srv"), "");
    EXPECT_EQ(CanonicalPath("\\\\.\\C:"), "");
    EXPECT_EQ(CanonicalPath("C:"), "");
    EXPECT_TRUE(IsSameOrInside("C:\\korva\\maps", "C:\\KORVA"));
    EXPECT_TRUE(IsSameOrInside("C:\\korva", "c:\\korva"));
    EXPECT_TRUE(IsSameOrInside("C:\\korva", "C:\\"));
    EXPECT_FALSE(IsSameOrInside("C:\\korva2", "C:\\korva"));
    EXPECT_FALSE(IsSameOrInside("C:\\kor", "C:\\korva"));
    EXPECT_FALSE(IsSameOrInside("C:\\korva", ""));
    EXPECT_TRUE(IsRootPath("C:\\"));
    EXPECT_TRUE(IsRootPath("\\\\server\\share"));
    EXPECT_FALSE(IsRootPath("\\\\server\\share\\x"));
}

TEST(RemovalGuard, IdentitiesCompare) {
    FileIdentity a{true, true, 1, 10, "C:\\korva"};
    FileIdentity sameIndexOtherName{true, true, 1, 10, "C:\\korva\\bind"};
    FileIdentity otherVolume{true, true, 2, 10, "C:\\korva"};
    FileIdentity pathOnly{false, false, 0, 0, "c:\\KORVA"};
    FileIdentity nothing{};
    EXPECT_TRUE(MaybeSame(a, sameIndexOtherName));
    EXPECT_FALSE(SurelySame(a, sameIndexOtherName));
    EXPECT_TRUE(MaybeSame(a, otherVolume));
    EXPECT_FALSE(SurelySame(a, otherVolume));
    EXPECT_TRUE(MaybeSame(a, pathOnly));
    EXPECT_TRUE(SurelySame(a, pathOnly));
    EXPECT_FALSE(MaybeSame(a, nothing));
    EXPECT_FALSE(SurelySame(nothing, nothing));
}
