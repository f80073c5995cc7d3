#include "install/engine/guarded_folders.h"

#include "framework/file_identity.h"
#include "framework/handles.h"
#include "framework/wow64.h"
#include "install/engine/directory_identity.h"
#include "install/engine/portable/removal_guard.h"
#include "install/shared/installer_dir.h"
#include "install/shared/portable/paths.h"

#include <windows.h>

#include <array>

namespace korva {

namespace {

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

template <typename Function> Function Kernel32Function(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), name)));
}

std::string Fitting(const char* text, UINT length, std::size_t size) {
    return length > 0 && length < size ? std::string(text, length) : std::string();
}

std::string WindowsDirectory() {
    char path[kPathSize] = {};
    return Fitting(path, GetWindowsDirectoryA(path, sizeof path), sizeof path);
}

std::string SystemDirectory() {
    char path[kPathSize] = {};
    return Fitting(path, GetSystemDirectoryA(path, sizeof path), sizeof path);
}

// The shared Windows directory of a multi-user system (NT 4.0 Terminal Server and later).
std::string SystemWindowsDirectory() {
    using DirectoryFunction = UINT(WINAPI*)(LPSTR, UINT);
    static const DirectoryFunction directory =
        Kernel32Function<DirectoryFunction>("GetSystemWindowsDirectoryA");
    char path[kPathSize] = {};
    return directory ? Fitting(path, directory(path, sizeof path), sizeof path) : std::string();
}

std::string EnvironmentValue(const char* name) {
    char value[kPathSize] = {};
    return Fitting(value, GetEnvironmentVariableA(name, value, sizeof value), sizeof value);
}

// A value of the 64-bit view of the registry's Windows settings (for a 32-bit program on
// 64-bit Windows; the 32-bit view names the "(x86)" folders).
std::string Registry64Value(const char* name) {
    constexpr REGSAM kView64 = 0x0100; // KEY_WOW64_64KEY
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 0,
                      KEY_QUERY_VALUE | kView64, &key) != ERROR_SUCCESS) {
        return "";
    }
    char value[kPathSize] = {};
    DWORD size = sizeof value - 1;
    DWORD type = 0;
    const LONG result =
        RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_SZ || size >= sizeof value) {
        return "";
    }
    return value;
}

class Gathering {
public:
    explicit Gathering(GuardedFolders& guarded) : guarded_(guarded) {}

    // A folder that no directory may be or hold: where it leads, and where its name is when
    // that is another place (a folder that is a link).
    void AddProtected(const std::string& path) {
        if (path.empty() || HasUnsafeSpelling(path) || CanonicalPath(path).empty()) {
            return;
        }
        DirectoryChain target = ChainOf(path);
        const std::string place = CanonicalPath(fw::LongFullPathOf(path));
        if (!place.empty() && target.self.exists &&
            !SurelySame(FileIdentity{false, false, 0, 0, place}, target.self)) {
            DirectoryChain named;
            named.self.path = place;
            const DirectoryChain parent = ChainOf(ParentPath(place));
            if (!parent.self.path.empty()) {
                named.above.push_back(parent.self);
                named.above.insert(named.above.end(), parent.above.begin(), parent.above.end());
            }
            guarded_.protectedFolders.push_back(std::move(named));
        }
        guarded_.protectedFolders.push_back(std::move(target));
    }

    // A folder that nothing may be inside either.
    void AddWindowsFolder(const std::string& path) {
        if (path.empty() || CanonicalPath(path).empty()) {
            return;
        }
        AddProtected(path);
        guarded_.windowsFolders.push_back(guarded_.protectedFolders.back().self);
    }

private:
    GuardedFolders& guarded_;
};

void AddDriveRoots(GuardedFolders& guarded) {
    // A drive without its medium must not ask the user for one.
    const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    const DWORD drives = GetLogicalDrives();
    for (int letter = 0; letter < 26; ++letter) {
        if (!(drives & (1u << letter))) {
            continue;
        }
        const std::string root = std::string(1, static_cast<char>('A' + letter)) + ":\\";
        const UINT type = GetDriveTypeA(root.c_str());
        if (type == DRIVE_REMOVABLE || type == DRIVE_CDROM || type == DRIVE_NO_ROOT_DIR ||
            type == DRIVE_UNKNOWN) {
            continue; // no removal empties a medium it cannot write; roots are roots anyway
        }
        FileIdentity identity = IdentityOf(root);
        if (identity.exists) {
            guarded.driveRoots.push_back(std::move(identity));
        }
    }
    SetErrorMode(previousMode);
}

} // namespace

GuardedFolders GatherGuardedFolders(const std::string& windowsDir) {
    GuardedFolders guarded;
    Gathering gathering(guarded);
    gathering.AddWindowsFolder(windowsDir);
    gathering.AddWindowsFolder(WindowsDirectory());
    gathering.AddWindowsFolder(SystemWindowsDirectory());
    gathering.AddWindowsFolder(SystemDirectory());
    if (fw::RunsUnderWow64()) {
        // A 32-bit program on 64-bit Windows is shown the 32-bit system directory as
        // "system32", and given only the "(x86)" program folders by the shell; the 64-bit ones
        // are the system's too.
        gathering.AddWindowsFolder(fw::Wow64SystemDirectory());
        {
            const fw::ScopedNativeFileSystem native;
            gathering.AddWindowsFolder(SystemDirectory());
        }
        for (const char* value : {"ProgramFilesDir", "CommonFilesDir"}) {
            gathering.AddProtected(Registry64Value(value));
        }
    }
    for (const char* variable : {"ProgramW6432", "CommonProgramW6432"}) {
        gathering.AddProtected(EnvironmentValue(variable));
    }
    FolderService service = LoadFolderService();
    if (service.folderPath) {
        for (int folder : kShellFolders) {
            char folderPath[MAX_PATH] = {};
            if (SUCCEEDED(service.folderPath(nullptr, folder, nullptr, 0, folderPath))) {
                gathering.AddProtected(folderPath);
            }
        }
    }
    PathField installerDir;
    GetInstallerDir(installerDir);
    guarded.installerDir = ChainOf(installerDir);
    AddDriveRoots(guarded);
    return guarded;
}

} // namespace korva
