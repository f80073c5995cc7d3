#include "ctlupdate/updater.h"

#include "ctlupdate/carried_library.h"
#include "framework/file_bytes.h"
#include "framework/handles.h"
#include "framework/library_replacement.h"
#include "framework/plain_file.h"
#include "framework/restart_rename.h"
#include "framework/version_install.h"

namespace korva {

namespace {

std::string WindowsDirectory() {
    char dir[MAX_PATH] = {};
    UINT length = GetWindowsDirectoryA(dir, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(dir, length) : std::string();
}

} // namespace

int IsLibraryCurrent() {
    return !fw::CommonControlsTooOld();
}

int WriteCarriedFile(const std::string& path, const void* data, DWORD length) {
    // Created new: an entry already under the name is never written through (a link would
    // lead the bytes into the file it names).
    if (fw::FreeNameForFreshFile(path) != fw::FreshName::free) {
        return 0;
    }
    bool written = false;
    {
        fw::UniqueFileHandle file = fw::CreateFreshFile(path, GENERIC_READ | GENERIC_WRITE, 0);
        if (!file) {
            return 0;
        }
        DWORD count = 0;
        written = WriteFile(file.Get(), data, length, &count, nullptr) && count == length;
    }
    if (!written) {
        // A partly written file is of no use to anyone; it is this call's own.
        fw::DeletePlainFile(path);
    }
    return written;
}

int ExpandCarriedFile(const std::string& sourceDir, const std::string& sourceName,
                      const std::string& destDir, const std::string& destName) {
    return !fw::VersionInstallFailed(
        fw::ForceVersionInstall(sourceDir, sourceName, destDir, destName));
}

int UpdateLibrary() {
    // The directory the restart knows the library by; the files go there too.
    const std::string systemDir = fw::SystemDirectoryForRestart();
    const std::string windowsDir = WindowsDirectory();
    if (systemDir.empty() || windowsDir.empty()) {
        return 0;
    }
    const std::string compressedPath = systemDir + "\\" + kCompressedName;
    const std::string expandedPath = systemDir + "\\" + kExpandedName;
    auto carried = CarriedLibrary();
    if (!WriteCarriedFile(compressedPath, carried.data(), static_cast<DWORD>(carried.size()))) {
        return 0;
    }
    // The version installer replaces an entry under the expanded name, and a link among them
    // would take the file it leads to with it: the name is made free first, or nothing is done.
    if (fw::FreeNameForFreshFile(expandedPath) != fw::FreshName::free) {
        fw::DeletePlainFile(compressedPath);
        return 0;
    }
    const bool expanded = ExpandCarriedFile(systemDir, kCompressedName, systemDir, kExpandedName);
    // Only the carried library, expanded whole, is scheduled. What this attempt wrote is deleted
    // again otherwise.
    const std::optional<std::vector<std::uint8_t>> library = fw::LibraryCarriedIn(carried);
    if (!expanded || !library ||
        !fw::ScheduleReplacement(windowsDir + "\\wininit.ini", systemDir + "\\" + kLibraryName,
                                 expandedPath, *library)) {
        fw::DeletePlainFile(compressedPath);
        fw::DeletePlainFile(expandedPath);
        return 0;
    }
    return 1;
}

} // namespace korva
