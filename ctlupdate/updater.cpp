#include "updater.h"

#include "carried_library.h"
#include "handles.h"

#include <winver.h>

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

bool IsFile(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
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
    // The platform's declaration takes writable texts; it gets copies.
    std::string source = sourceName, dest = destName, from = sourceDir, to = destDir;
    char tempName[MAX_PATH] = {};
    UINT tempLength = MAX_PATH;
    DWORD result = VerInstallFileA(VIFF_FORCEINSTALL, source.data(), dest.data(), from.data(),
                                   to.data(), nullptr, tempName, &tempLength);
    return result != VIF_CANNOTREADSRC;
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
    if (!ExpandCarriedFile(systemDir, kCompressedName, systemDir, kExpandedName)) {
        return 0;
    }
    // The version installer reports some failures to create the destination only as flags
    // that also occur on success; a rename line for a file that is not there would replace the
    // library with nothing at the next start.
    if (!IsFile(expandedPath)) {
        return 0;
    }
    WritePrivateProfileStringA("rename", (systemDir + "\\" + kLibraryName).c_str(),
                               expandedPath.c_str(), (windowsDir + "\\wininit.ini").c_str());
    return 1;
}

} // namespace korva
