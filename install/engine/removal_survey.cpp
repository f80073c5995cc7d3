#include "install/engine/removal_survey.h"

#include "framework/file_identity.h"
#include "framework/file_probe.h"
#include "framework/handles.h"
#include "framework/mount_table.h"
#include "framework/plain_file.h"
#include "framework/profile.h"
#include "install/engine/directory_identity.h"
#include "install/engine/guarded_folders.h"
#include "install/engine/portable/removal_guard.h"
#include "install/shared/portable/paths.h"

#include <algorithm>
#include <vector>

namespace korva {

namespace {

struct WindowTraits {
    static HWND Invalid() { return nullptr; }
    static void Close(HWND h) { DestroyWindow(h); }
};
using UniqueWindow = fw::UniqueHandle<HWND, WindowTraits>;

constexpr int kListingControlId = 2223;

// The hidden sorted combo box whose list receives the platform's directory listings: a
// control of the application's main window when there is one; otherwise (as in the
// installer, which has none) a top-level window, which carries no control id.
UniqueWindow CreateListingBox(HWND parent) {
    const RECT empty = {80, 80, 50, 50};
    const HMENU id = parent ? reinterpret_cast<HMENU>(kListingControlId) : nullptr;
    const DWORD style = CBS_DROPDOWN | CBS_SORT | (parent ? WS_CHILD : 0);
    return UniqueWindow(CreateWindowExA(
        0, "COMBOBOX", "", style, empty.left, empty.top, std::max(0L, empty.right - empty.left),
        std::max(0L, empty.bottom - empty.top), parent, id, GetModuleHandleA(nullptr), nullptr));
}

// The entries of a fresh listing of `pattern` with the given listing attributes.
std::vector<std::string> List(HWND box, const std::string& pattern, UINT attributes) {
    std::vector<std::string> entries;
    SendMessageA(box, CB_RESETCONTENT, 0, 0);
    std::string writable = pattern; // the listing takes a writable string
    SendMessageA(box, CB_DIR, attributes, reinterpret_cast<LPARAM>(writable.data()));
    const LRESULT count = SendMessageA(box, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageA(box, CB_GETLBTEXTLEN, i, 0);
        if (length < 0) {
            continue;
        }
        std::vector<char> text(static_cast<std::size_t>(length) + 1, '\0');
        SendMessageA(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        entries.emplace_back(text.data());
    }
    return entries;
}

// The place of `name` in the directory `place`, with its listed attributes, when the platform
// reads it as an entry of that very directory (a name it takes for a device, or cuts short, is
// not) and it fits a path field; "" otherwise.
std::string EntryOf(const std::string& place, const std::string& name, DWORD& attributes) {
    if (name.empty() || name == "." || name == ".." ||
        name.find_first_of("\\/:*?\"<>|") != std::string::npos) {
        return "";
    }
    const std::string path = JoinPath(place, name);
    if (path.size() >= kPathSize || HasUnsafeSpelling(path) ||
        CanonicalPath(fw::FullPathOf(path)) != path) {
        return "";
    }
    WIN32_FIND_DATAA entry;
    const fw::UniqueFind find(FindFirstFileA(path.c_str(), &entry));
    if (!find || lstrcmpiA(entry.cFileName, name.c_str()) != 0) {
        return "";
    }
    attributes = entry.dwFileAttributes;
    return JoinPath(place, entry.cFileName);
}

class TreeSurvey {
public:
    TreeSurvey(HWND listBox, bool finalPathsKnown)
        : listBox_(listBox), finalPathsKnown_(finalPathsKnown),
          mountPoints_(fw::MountPointsAsWindowsPaths()) {}

    bool IsListedMountPoint(const std::string& path) const {
        return std::any_of(mountPoints_.begin(), mountPoints_.end(), [&](const std::string& m) {
            return !path.empty() && lstrcmpiA(m.c_str(), path.c_str()) == 0;
        });
    }

    // Lists what the removal would enter and delete below `directory`, entering neither links
    // nor mount points.
    void Walk(TreeDirectory& directory) {
        // "*." lists directories without extensions, which this platform does not always keep
        // to; names with an extension or a leading dot are never entered.
        for (const std::string& entry :
             List(listBox_, JoinPath(directory.place, "*."), DDL_DIRECTORY | DDL_EXCLUSIVE)) {
            if (entry.size() < 3 || entry.front() != '[' || entry.back() != ']') {
                continue;
            }
            const std::string name = entry.substr(1, entry.size() - 2);
            if (name[0] == '.' || name.find('.') != std::string::npos) {
                continue;
            }
            DWORD attributes = 0;
            TreeDirectory subdirectory;
            subdirectory.place = EntryOf(directory.place, name, attributes);
            if (subdirectory.place.empty() || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
                continue;
            }
            subdirectory.identity = IdentityOf(subdirectory.place);
            subdirectory.reparsePoint = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
            subdirectory.listedAsMountPoint = IsListedMountPoint(subdirectory.identity.path);
            if (!IsLinkedDirectory(subdirectory, finalPathsKnown_) &&
                !IsMountPoint(subdirectory, finalPathsKnown_) && subdirectory.identity.exists) {
                Walk(subdirectory);
            }
            directory.subdirectories.push_back(std::move(subdirectory));
        }
        // Ordinary files only. The listing without attribute bits is meant to leave out
        // read-only, hidden and system files; this platform lists them too.
        for (const std::string& name :
             List(listBox_, JoinPath(directory.place, "*.*"), DDL_READWRITE)) {
            DWORD attributes = 0;
            TreeFile file;
            file.place = EntryOf(directory.place, name, attributes);
            if (file.place.empty() ||
                (attributes &
                 (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                  FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_REPARSE_POINT))) {
                continue;
            }
            const fw::HandleFacts facts = fw::FactsOf(file.place);
            file.finalPath = facts.finalPath.empty() ? "" : CanonicalPath(facts.finalPath);
            directory.files.push_back(std::move(file));
        }
    }

private:
    HWND listBox_;
    bool finalPathsKnown_;
    std::vector<std::string> mountPoints_;
};

// Read with room to spare: a value cut to the field's size could name another directory.
constexpr unsigned kReadSize = 4 * kPathSize;

bool IsAbsoluteAndSafe(const std::string& path) {
    return !HasUnsafeSpelling(path) && !CanonicalPath(path).empty();
}

} // namespace

RemovalFacts GatherRemovalFacts(const std::string& windowsDir, HWND listBox) {
    RemovalFacts facts;
    const std::string settings = JoinPath(windowsDir, "korva.ini");
    facts.korvaDir = fw::ReadProfileString(settings, "INFO", "KorvaDir", "", kReadSize);
    if (!IsAbsoluteAndSafe(facts.korvaDir)) {
        return facts; // judged on its spelling alone
    }
    facts.installDir = ChainOf(facts.korvaDir);
    if (!facts.installDir.self.exists) {
        return facts;
    }
    const std::string recorded =
        fw::ReadProfileString(settings, "Installazione", "Directory_di_KORVA", "", kReadSize);
    if (IsAbsoluteAndSafe(recorded)) {
        facts.recordedDir = IdentityOf(recorded);
    }
    facts.finalPathsKnown = fw::TellsFinalPaths();
    facts.guarded = GatherGuardedFolders(windowsDir);
    const std::string& installDir = facts.installDir.self.path;
    facts.markerPresent =
        !installDir.empty() && fw::CanOpenForReading(JoinPath(installDir, "korva.wmf"));
    facts.settingsPlain = fw::StateOfName(settings) == fw::NameState::plainFile;
    if (JudgeInstallationDirectory(facts) != RemovalVerdict::allowed) {
        return facts; // refused as it is: its tree need not be walked
    }

    UniqueWindow ownBox;
    if (!listBox) {
        ownBox = CreateListingBox(nullptr); // the installer has no main window
        listBox = ownBox.Get();
    }
    TreeSurvey survey(listBox, facts.finalPathsKnown);
    facts.tree.place = installDir;
    facts.tree.identity = facts.installDir.self;
    facts.tree.listedAsMountPoint = survey.IsListedMountPoint(installDir);
    if (!listBox || installDir.empty()) {
        // Without its listing the tree cannot be told: nothing may be deleted.
        facts.tree.identity.exists = false;
        return facts;
    }
    survey.Walk(facts.tree);
    return facts;
}

DestinationFacts GatherDestinationFacts(const std::string& typed) {
    DestinationFacts facts;
    facts.typed = typed;
    if (!IsAbsoluteAndSafe(typed)) {
        return facts;
    }
    std::string level = CanonicalPath(typed);
    while (!level.empty()) {
        FileIdentity identity = IdentityOf(level);
        if (identity.exists) {
            facts.existing = ChainOf(level);
            break;
        }
        const std::string parent = ParentPath(level);
        const std::string name =
            parent.empty() ? "" : level.substr(parent.size() + (parent.back() == '\\' ? 0 : 1));
        facts.missing = facts.missing.empty() ? name : JoinPath(name, facts.missing);
        level = parent;
    }
    if (facts.existing.self.exists && facts.missing.empty()) {
        const DWORD attributes = GetFileAttributesA(CanonicalPath(typed).c_str());
        facts.reparsePoint =
            attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
        const std::vector<std::string> mountPoints = fw::MountPointsAsWindowsPaths();
        facts.listedAsMountPoint =
            std::any_of(mountPoints.begin(), mountPoints.end(), [&](const std::string& m) {
                return lstrcmpiA(m.c_str(), facts.existing.self.path.c_str()) == 0;
            });
    }
    return facts;
}

} // namespace korva
