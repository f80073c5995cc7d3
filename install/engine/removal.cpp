#include "removal.h"

#include "file_exception.h"
#include "file_probe.h"
#include "file_remove.h"
#include "handles.h"
#include "paths.h"
#include "progman_client.h"
#include "removal_guard.h"
#include "removal_target.h"

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

// The subdirectories to enter: "[name]" entries, without names that begin with a dot (the
// parent among them) or that carry an extension, and without links and junctions, which lead
// out of the installation. The listing of "*." should hold no extensions; this platform's
// listing does not always keep to that.
std::vector<std::string> SubdirectoriesToEnter(HWND box, const std::string& directory) {
    std::vector<std::string> paths;
    for (const std::string& entry :
         List(box, JoinPath(directory, "*."), DDL_DIRECTORY | DDL_EXCLUSIVE)) {
        if (entry.size() < 3 || entry.front() != '[' || entry.back() != ']') {
            continue;
        }
        const std::string name = entry.substr(1, entry.size() - 2);
        if (name[0] == '.' || name.find('.') != std::string::npos) {
            continue;
        }
        const std::string path = ResolveEntryIn(directory, name, true);
        if (!path.empty()) {
            paths.push_back(path);
        }
    }
    return paths;
}

// Ordinary files only. The listing without attribute bits is meant to leave out read-only,
// hidden and system files; this platform lists them too, so each name is checked.
std::vector<std::string> OrdinaryFiles(HWND box, const std::string& directory) {
    std::vector<std::string> paths;
    for (const std::string& name : List(box, JoinPath(directory, "*.*"), DDL_READWRITE)) {
        const std::string path = ResolveEntryIn(directory, name, false);
        const DWORD attributes =
            path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES ||
            (attributes &
             (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
              FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_REPARSE_POINT))) {
            continue;
        }
        paths.push_back(path);
    }
    return paths;
}

// `directory` is resolved and lies inside the resolved installation directory; so does every
// path the listings lead to.
void DeleteFilesBelow(const std::string& directory, HWND listBox) {
    for (const std::string& subdirectory : SubdirectoriesToEnter(listBox, directory)) {
        DeleteFilesBelow(subdirectory, listBox);
    }
    for (const std::string& file : OrdinaryFiles(listBox, directory)) {
        fw::RemoveFile(file);
    }
}

} // namespace

void DeleteTreeFiles(const std::string& directory, HWND listBox) {
    // Only the directory the platform resolves is emptied, never the text as written.
    const std::string resolved = ResolveDirectory(directory);
    if (resolved.empty() || IsRootPath(resolved)) {
        throw CFileException(CFileException::badPath, directory);
    }
    UniqueWindow ownBox;
    if (!listBox) {
        ownBox = CreateListingBox(nullptr); // the installer has no main window
        listBox = ownBox.Get();
        if (!listBox) {
            // Without its listing nothing can be deleted: stop before the settings go.
            throw CFileException(CFileException::genericException, directory);
        }
    }
    DeleteFilesBelow(resolved, listBox);
}

int RemoveInstallation(const std::string& windowsDir) {
    const std::string settings = JoinPath(windowsDir, "korva.ini");
    const std::string installDir = RemovableInstallDirectory(windowsDir);
    if (installDir.empty()) {
        return 0;
    }
    if (!fw::CanOpenForReading(JoinPath(installDir, "korva.wmf"))) {
        return 0;
    }
    DeleteTreeFiles(installDir);
    fw::RemoveFile(settings);
    DeleteProgramGroup();
    return 1;
}

} // namespace korva
