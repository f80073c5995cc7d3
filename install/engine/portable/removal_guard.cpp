#include "install/engine/portable/removal_guard.h"

#include "install/shared/portable/paths.h"

#include <algorithm>
#include <array>

namespace korva {

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// Windows-1252 upper case to lower case: ASCII and the accented Latin letters.
char FoldCase(char c) {
    const auto u = static_cast<unsigned char>(c);
    if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7)) {
        return static_cast<char>(u + 0x20);
    }
    return c;
}

std::string Folded(std::string_view text) {
    std::string folded(text);
    std::transform(folded.begin(), folded.end(), folded.begin(), FoldCase);
    return folded;
}

std::vector<std::string_view> Components(std::string_view path) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || IsSeparator(path[i])) {
            if (i > start) {
                parts.push_back(path.substr(start, i - start));
            }
            start = i + 1;
        }
    }
    return parts;
}

// "con", "nul.txt", "COM1 " and the like: the platform opens a device whatever the extension.
bool IsDeviceName(std::string_view component) {
    std::string base = Folded(component.substr(0, component.find('.')));
    while (!base.empty() && base.back() == ' ') {
        base.pop_back();
    }
    static constexpr std::array<std::string_view, 7> plain = {"con",    "prn",    "aux",    "nul",
                                                              "clock$", "conin$", "conout$"};
    if (std::find(plain.begin(), plain.end(), base) != plain.end()) {
        return true;
    }
    return base.size() == 4 && (base.starts_with("com") || base.starts_with("lpt")) &&
           base[3] >= '1' && base[3] <= '9';
}

bool HasDevicePrefix(std::string_view path) {
    // "\\?\", "\\.\", "\??\" with either separator.
    return path.size() >= 4 && IsSeparator(path[0]) && IsSeparator(path[3]) &&
           ((IsSeparator(path[1]) && (path[2] == '?' || path[2] == '.')) ||
            (path[1] == '?' && path[2] == '?'));
}

} // namespace

bool HasUnsafeSpelling(std::string_view path) {
    if (path.empty() || path.size() >= kPathSize || HasDevicePrefix(path)) {
        return true;
    }
    for (std::size_t i = 0; i < path.size(); ++i) {
        const auto c = static_cast<unsigned char>(path[i]);
        if (c < 0x20 || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' || c == '|') {
            return true;
        }
        if (c == ':' && i != 1) {
            return true;
        }
    }
    for (std::string_view part : Components(path)) {
        if (part == "." || part == "..") {
            continue;
        }
        if (part.back() == '.' || part.back() == ' ' || IsDeviceName(part)) {
            return true;
        }
    }
    return false;
}

std::string CanonicalPath(std::string_view path) {
    std::string root;
    std::string_view rest;
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        const std::vector<std::string_view> parts = Components(path);
        if (parts.size() < 2 || parts[0] == "." || parts[0] == "?" || parts[0] == ".." ||
            parts[1] == "." || parts[1] == "..") {
            return "";
        }
        root = "\\\\" + std::string(parts[0]) + "\\" + std::string(parts[1]);
        const std::size_t shareEnd =
            static_cast<std::size_t>(parts[1].data() - path.data()) + parts[1].size();
        rest = path.substr(shareEnd);
    } else if (path.size() >= 3 && HasDriveLetter(path) && IsSeparator(path[2])) {
        root =
            std::string(1, path[0] >= 'a' && path[0] <= 'z' ? static_cast<char>(path[0] - 'a' + 'A')
                                                            : path[0]) +
            ":\\";
        rest = path.substr(3);
    } else {
        return "";
    }
    std::vector<std::string_view> kept;
    for (std::string_view part : Components(rest)) {
        if (part == ".") {
            continue;
        }
        if (part == "..") {
            if (!kept.empty()) {
                kept.pop_back();
            }
            continue;
        }
        kept.push_back(part);
    }
    std::string canonical = root;
    for (std::string_view part : kept) {
        if (canonical.back() != '\\') {
            canonical += '\\';
        }
        canonical.append(part);
    }
    return canonical;
}

bool IsRootPath(std::string_view canonical) {
    if (canonical.size() == 3 && canonical[1] == ':' && canonical[2] == '\\') {
        return true;
    }
    return canonical.starts_with("\\\\") &&
           std::count(canonical.begin() + 2, canonical.end(), '\\') == 1;
}

bool IsSameOrInside(std::string_view path, std::string_view directory) {
    if (directory.empty() || path.size() < directory.size()) {
        return false;
    }
    if (Folded(path.substr(0, directory.size())) != Folded(directory)) {
        return false;
    }
    return path.size() == directory.size() || directory.back() == '\\' ||
           path[directory.size()] == '\\';
}

namespace {

bool SamePath(std::string_view a, std::string_view b) {
    return !a.empty() && a.size() == b.size() && Folded(a) == Folded(b);
}

// The folder and every directory above it.
bool ChainHolds(const DirectoryChain& chain, const FileIdentity& directory) {
    if (MaybeSame(directory, chain.self)) {
        return true;
    }
    return std::any_of(chain.above.begin(), chain.above.end(),
                       [&](const FileIdentity& level) { return MaybeSame(directory, level); });
}

struct TreeJudge {
    const RemovalFacts& facts;
    RemovalPlan& plan;
    std::vector<const FileIdentity*> seen;

    // False when the directory, or one below it, refuses the removal (the plan says why).
    bool Judge(const TreeDirectory& directory) {
        if (!directory.identity.exists) {
            // What it is cannot be told (or its listing could not be had): nothing is deleted.
            plan.verdict = RemovalVerdict::unresolved;
            plan.directory = directory.place;
            return false;
        }
        const RemovalVerdict verdict = JudgeGuardedDirectory(directory.identity, {}, facts.guarded);
        const bool alias = std::any_of(seen.begin(), seen.end(), [&](const FileIdentity* other) {
            return MaybeSame(*other, directory.identity);
        });
        if (verdict != RemovalVerdict::allowed || IsMountPoint(directory, facts.finalPathsKnown) ||
            alias) {
            plan.verdict =
                verdict != RemovalVerdict::allowed ? verdict : RemovalVerdict::mountPoint;
            plan.directory = directory.place;
            return false;
        }
        seen.push_back(&directory.identity);
        for (const TreeDirectory& subdirectory : directory.subdirectories) {
            if (IsLinkedDirectory(subdirectory, facts.finalPathsKnown) &&
                !IsMountPoint(subdirectory, facts.finalPathsKnown)) {
                continue; // never followed out of the tree
            }
            if (!Judge(subdirectory)) {
                return false;
            }
        }
        for (const TreeFile& file : directory.files) {
            // A file whose name leads elsewhere is a link: it stays, and so does its target. A
            // file whose final path could not be had is checked again when it is deleted.
            if (!facts.finalPathsKnown || file.finalPath.empty() ||
                SamePath(file.finalPath, file.place)) {
                plan.files.push_back(file.place);
            }
        }
        return true;
    }
};

} // namespace

bool MaybeSame(const FileIdentity& a, const FileIdentity& b) {
    if (a.hasIndex && b.hasIndex && a.volume == b.volume && a.index == b.index) {
        return true;
    }
    return SamePath(a.path, b.path);
}

bool SurelySame(const FileIdentity& a, const FileIdentity& b) {
    const bool byIndex = a.hasIndex && b.hasIndex;
    const bool byPath = !a.path.empty() && !b.path.empty();
    if (!byIndex && !byPath) {
        return false;
    }
    return (!byIndex || (a.volume == b.volume && a.index == b.index)) &&
           (!byPath || SamePath(a.path, b.path));
}

bool IsLinkedDirectory(const TreeDirectory& directory, bool finalPathsKnown) {
    if (finalPathsKnown && !directory.identity.path.empty() &&
        !SamePath(directory.identity.path, directory.place)) {
        return true; // its name leads elsewhere
    }
    return directory.reparsePoint;
}

bool IsMountPoint(const TreeDirectory& directory, bool finalPathsKnown) {
    // A link leads elsewhere; a mount point is where it seems, with another file system in it.
    return directory.listedAsMountPoint || (directory.reparsePoint && finalPathsKnown &&
                                            SamePath(directory.identity.path, directory.place));
}

RemovalVerdict JudgeGuardedDirectory(const FileIdentity& directory,
                                     const std::vector<FileIdentity>& above,
                                     const GuardedFolders& guarded) {
    if (IsRootPath(CanonicalPath(directory.path)) ||
        std::any_of(guarded.driveRoots.begin(), guarded.driveRoots.end(),
                    [&](const FileIdentity& root) { return MaybeSame(directory, root); })) {
        return RemovalVerdict::root;
    }
    for (const DirectoryChain& folder : guarded.protectedFolders) {
        if (ChainHolds(folder, directory)) {
            return RemovalVerdict::protectedDir;
        }
    }
    for (const FileIdentity& windows : guarded.windowsFolders) {
        if (MaybeSame(directory, windows)) {
            return RemovalVerdict::protectedDir;
        }
        if (std::any_of(above.begin(), above.end(),
                        [&](const FileIdentity& level) { return MaybeSame(level, windows); })) {
            return RemovalVerdict::insideWindows;
        }
    }
    if (ChainHolds(guarded.installerDir, directory)) {
        return RemovalVerdict::installerMedium;
    }
    return RemovalVerdict::allowed;
}

RemovalVerdict JudgeInstallationDirectory(const RemovalFacts& facts) {
    if (facts.korvaDir.empty()) {
        return RemovalVerdict::noDirectory;
    }
    if (HasUnsafeSpelling(facts.korvaDir)) {
        return RemovalVerdict::unresolved;
    }
    if (CanonicalPath(facts.korvaDir).empty()) {
        return RemovalVerdict::relative;
    }
    if (!facts.installDir.self.exists) {
        return RemovalVerdict::unresolved;
    }
    const RemovalVerdict verdict =
        JudgeGuardedDirectory(facts.installDir.self, facts.installDir.above, facts.guarded);
    if (verdict != RemovalVerdict::allowed) {
        return verdict;
    }
    if (!facts.markerPresent) {
        return RemovalVerdict::noMarker;
    }
    if (!facts.settingsPlain) {
        return RemovalVerdict::unresolved; // it could not be deleted at the end
    }
    if (!SurelySame(facts.installDir.self, facts.recordedDir)) {
        return RemovalVerdict::notInstalled;
    }
    return RemovalVerdict::allowed;
}

RemovalPlan JudgeRemoval(const RemovalFacts& facts) {
    RemovalPlan plan;
    plan.directory = facts.installDir.self.exists ? facts.installDir.self.path : facts.korvaDir;
    plan.verdict = JudgeInstallationDirectory(facts);
    if (plan.verdict != RemovalVerdict::allowed) {
        return plan;
    }
    TreeJudge judge{facts, plan, {}};
    if (!judge.Judge(facts.tree)) {
        plan.files.clear();
        return plan;
    }
    plan.directory = facts.installDir.self.path;
    plan.verdict = RemovalVerdict::allowed;
    return plan;
}

RemovalVerdict JudgeDestination(const DestinationFacts& destination,
                                const GuardedFolders& guarded) {
    if (HasUnsafeSpelling(destination.typed)) {
        return RemovalVerdict::unresolved;
    }
    const std::string typed = CanonicalPath(destination.typed);
    if (typed.empty()) {
        return RemovalVerdict::relative;
    }
    if (!destination.existing.self.exists) {
        return RemovalVerdict::allowed; // nothing of it there: its creation will fail
    }
    if (destination.missing.empty()) {
        if (destination.listedAsMountPoint ||
            (destination.reparsePoint && SamePath(destination.existing.self.path, typed))) {
            return RemovalVerdict::mountPoint;
        }
        return JudgeGuardedDirectory(destination.existing.self, destination.existing.above,
                                     guarded);
    }
    // Still to be created: what it will be, below its deepest existing level.
    FileIdentity created;
    created.path = CanonicalPath(JoinPath(destination.existing.self.path, destination.missing));
    std::vector<FileIdentity> above = {destination.existing.self};
    above.insert(above.end(), destination.existing.above.begin(), destination.existing.above.end());
    return JudgeGuardedDirectory(created, above, guarded);
}

} // namespace korva
