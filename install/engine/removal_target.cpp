#include "removal_target.h"

#include "file_probe.h"
#include "handles.h"
#include "paths.h"
#include "profile.h"
#include "removal_guard.h"

#include <windows.h>

#include <array>

namespace korva {

namespace {

// The long name of one level as the directory lists it (a short 8.3 name finds its long
// one), with its attributes; false when there is no such entry.
bool FindLevel(const std::string& path, std::string& name, DWORD& attributes) {
    WIN32_FIND_DATAA entry;
    const fw::UniqueFind find(FindFirstFileA(path.c_str(), &entry));
    if (!find) {
        return false;
    }
    name = entry.cFileName;
    attributes = entry.dwFileAttributes;
    return true;
}

std::size_t RootLength(const std::string& canonical) {
    if (canonical.starts_with("\\\\")) {
        const std::size_t server = canonical.find('\\', 2);
        const std::size_t share = canonical.find('\\', server + 1);
        return share == std::string::npos ? canonical.size() : share;
    }
    return 3; // "X:\"
}

// Rebuilds `canonical` level by level from the directory listings. Every level below the
// root must be a directory that is not a link.
std::string LongForm(const std::string& canonical) {
    const std::size_t rootLength = RootLength(canonical);
    std::string resolved = canonical.substr(0, rootLength);
    std::size_t start = rootLength;
    while (start < canonical.size()) {
        if (canonical[start] == '\\') {
            ++start;
            continue;
        }
        std::size_t end = canonical.find('\\', start);
        if (end == std::string::npos) {
            end = canonical.size();
        }
        const std::string level = (resolved.back() == '\\' ? resolved : resolved + '\\') +
                                  canonical.substr(start, end - start);
        std::string name;
        DWORD attributes = 0;
        if (!FindLevel(level, name, attributes) || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
            !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            return "";
        }
        if (resolved.back() != '\\') {
            resolved += '\\';
        }
        resolved += name;
        if (resolved.size() >= kPathSize) {
            return "";
        }
        start = end;
    }
    return resolved;
}

std::string Resolve(const std::string& path) {
    if (HasUnsafeSpelling(path)) {
        return "";
    }
    const std::string canonical = CanonicalPath(fw::FullPathOf(path));
    if (canonical.empty()) {
        return "";
    }
    if (IsRootPath(canonical)) {
        return canonical;
    }
    return LongForm(canonical);
}

// The shell's folders by their platform numbers. Asked by number rather than through the
// headers' names, which this platform level does not declare for the later folders.
constexpr std::array<int, 43> kShellFolders = {
    0x0002, // programs (Start menu)
    0x0005, // documents
    0x0006, // favorites
    0x0007, // startup
    0x0008, // recent
    0x0009, // send to
    0x000b, // Start menu
    0x000d, // music
    0x000e, // videos
    0x0010, // desktop
    0x0013, // network shortcuts
    0x0014, // fonts
    0x0015, // templates
    0x0016, // all users: Start menu
    0x0017, // all users: programs
    0x0018, // all users: startup
    0x0019, // all users: desktop
    0x001a, // application data
    0x001b, // printer shortcuts
    0x001c, // local application data
    0x001f, // all users: favorites
    0x0020, // internet cache
    0x0021, // cookies
    0x0022, // history
    0x0023, // all users: application data
    0x0024, // Windows
    0x0025, // system
    0x0026, // program files
    0x0027, // pictures
    0x0028, // the user's profile
    0x0029, // 32-bit system
    0x002a, // 32-bit program files
    0x002b, // common files
    0x002c, // 32-bit common files
    0x002d, // all users: templates
    0x002e, // all users: documents
    0x002f, // all users: administrative tools
    0x0030, // administrative tools
    0x0035, // all users: music
    0x0036, // all users: pictures
    0x0037, // all users: videos
    0x0038, // resources
    0x003b, // CD burning area
};

using FolderPathFunction = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);

// The shell's folder service: the shell library's, or on the first Windows 95 systems the
// redistributable folder library's. Null when neither is there.
struct FolderService {
    fw::UniqueLibrary library;
    FolderPathFunction folderPath = nullptr;
};

FolderService LoadFolderService() {
    for (const char* name : {"shell32.dll", "shfolder.dll"}) {
        FolderService service;
        service.library.Reset(LoadLibraryA(name));
        if (!service.library) {
            continue;
        }
        service.folderPath = reinterpret_cast<FolderPathFunction>(
            reinterpret_cast<void*>(GetProcAddress(service.library.Get(), "SHGetFolderPathA")));
        if (service.folderPath) {
            return service;
        }
    }
    return {};
}

void AddProtected(std::vector<std::string>& dirs, const std::string& path) {
    if (path.empty()) {
        return;
    }
    std::string resolved = Resolve(path);
    if (resolved.empty()) {
        // A folder that is missing or is a link still guards its own spelling.
        resolved = CanonicalPath(fw::FullPathOf(path));
    }
    if (!resolved.empty()) {
        dirs.push_back(resolved);
    }
}

} // namespace

std::string ResolveDirectory(const std::string& path) {
    return Resolve(path);
}

std::string ResolveEntryIn(const std::string& resolvedDir, const std::string& name,
                           bool directory) {
    if (name.empty() || name == "." || name == ".." ||
        name.find_first_of("\\/:*?\"<>|") != std::string::npos) {
        return "";
    }
    const std::string path = JoinPath(resolvedDir, name);
    if (path.size() >= kPathSize) {
        return "";
    }
    // The platform must read the path as an entry of that very directory: a name it takes
    // for a device, or cuts short, is not.
    const std::string full = CanonicalPath(fw::FullPathOf(path));
    if (full.size() <= resolvedDir.size() + 1 || !IsSameOrInside(full, resolvedDir) ||
        full.find('\\', resolvedDir.size() + 1) != std::string::npos) {
        return "";
    }
    std::string found;
    DWORD attributes = 0;
    if (!FindLevel(full, found, attributes) || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
        ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) != directory) {
        return "";
    }
    return JoinPath(resolvedDir, found);
}

std::vector<std::string> ProtectedDirectories(const std::string& windowsDir) {
    std::vector<std::string> dirs;
    AddProtected(dirs, windowsDir);
    char path[kPathSize] = {};
    UINT length = GetWindowsDirectoryA(path, sizeof path);
    AddProtected(dirs, length > 0 && length < sizeof path ? std::string(path, length) : "");
    length = GetSystemDirectoryA(path, sizeof path);
    AddProtected(dirs, length > 0 && length < sizeof path ? std::string(path, length) : "");
    // A 32-bit program on 64-bit Windows is given only the (x86) folders by the shell; the
    // 64-bit ones are named by the environment there.
    for (const char* variable : {"ProgramW6432", "CommonProgramW6432"}) {
        length = GetEnvironmentVariableA(variable, path, sizeof path);
        AddProtected(dirs, length > 0 && length < sizeof path ? std::string(path, length) : "");
    }
    FolderService service = LoadFolderService();
    if (service.folderPath) {
        for (int folder : kShellFolders) {
            char folderPath[MAX_PATH] = {};
            if (SUCCEEDED(service.folderPath(nullptr, folder, nullptr, 0, folderPath))) {
                AddProtected(dirs, folderPath);
            }
        }
    }
    return dirs;
}

std::string RemovableInstallDirectory(const std::string& windowsDir) {
    const std::string settings = JoinPath(windowsDir, "korva.ini");
    // Read with room to spare: a value cut to the field's size could name another directory.
    constexpr unsigned kReadSize = 4 * kPathSize;
    const std::string named = fw::ReadProfileString(settings, "INFO", "KorvaDir", "", kReadSize);
    const std::string recorded =
        fw::ReadProfileString(settings, "Installazione", "Directory_di_KORVA", "", kReadSize);
    const std::string installDir = ResolveDirectory(named);
    if (installDir.empty()) {
        return "";
    }
    const RemovalVerdict verdict = JudgeRemovalDirectory(
        installDir, ProtectedDirectories(windowsDir), ResolveDirectory(recorded));
    return verdict == RemovalVerdict::allowed ? installDir : std::string();
}

} // namespace korva
