#include "updater.h"

#include "carried_library.h"
#include "file_bytes.h"
#include "handles.h"
#include "szdd.h"
#include "version_install.h"

namespace korva {

namespace {

std::string SystemDirectory() {
    char dir[MAX_PATH] = {};
    UINT length = GetSystemDirectoryA(dir, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(dir, length) : std::string();
}

std::string WindowsDirectory() {
    char dir[MAX_PATH] = {};
    UINT length = GetWindowsDirectoryA(dir, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(dir, length) : std::string();
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// True when `path` holds the carried library, expanded.
bool HoldsCarriedLibrary(const std::string& path) {
    auto carried = CarriedLibrary();
    SzddExpansion library = ExpandSzdd(carried);
    return library.ok && fw::FileHolds(path, library.data);
}

} // namespace

int IsLibraryCurrent() {
    fw::UniqueLibrary library(LoadLibraryA("COMCTL32.DLL"));
    if (!library) {
        return 1;
    }
    return GetProcAddress(library.Get(), "DllGetVersion") != nullptr;
}

int WriteCarriedFile(const std::string& path, const void* data, DWORD length) {
    fw::UniqueFileHandle file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return 0;
    }
    DWORD written = 0;
    if (!WriteFile(file.Get(), data, length, &written, nullptr)) {
        return 0;
    }
    return written == length;
}

int ExpandCarriedFile(const std::string& sourceDir, const std::string& sourceName,
                      const std::string& destDir, const std::string& destName) {
    return !fw::VersionInstallFailed(
        fw::ForceVersionInstall(sourceDir, sourceName, destDir, destName));
}

int UpdateLibrary() {
    std::string systemDir = SystemDirectory();
    std::string windowsDir = WindowsDirectory();
    if (systemDir.empty() || windowsDir.empty()) {
        return 0;
    }
    std::string compressedPath = systemDir + "\\" + kCompressedName;
    std::string expandedPath = systemDir + "\\" + kExpandedName;
    auto carried = CarriedLibrary();
    if (!WriteCarriedFile(compressedPath, carried.data(), static_cast<DWORD>(carried.size()))) {
        // A partly written file is of no use to anyone.
        DeleteFileA(compressedPath.c_str());
        return 0;
    }
    const bool expandedExisted = Exists(expandedPath);
    const bool expanded = ExpandCarriedFile(systemDir, kCompressedName, systemDir, kExpandedName);
    // The restart puts whatever the file holds in place of the library: anything but the
    // carried library (an earlier file the installation could not replace, a partial copy)
    // must not be scheduled.
    if (!expanded || !HoldsCarriedLibrary(expandedPath)) {
        DeleteFileA(compressedPath.c_str());
        // An earlier file that could not be replaced is not ours to delete.
        if (expanded || !expandedExisted) {
            DeleteFileA(expandedPath.c_str());
        }
        return 0;
    }
    WritePrivateProfileStringA("rename", (systemDir + "\\" + kLibraryName).c_str(),
                               expandedPath.c_str(), (windowsDir + "\\wininit.ini").c_str());
    return 1;
}

} // namespace korva
