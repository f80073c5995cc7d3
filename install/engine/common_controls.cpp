#include "common_controls.h"

#include "file_bytes.h"
#include "file_copy.h"
#include "file_stamp.h"
#include "handles.h"
#include "paths.h"
#include "profile.h"
#include "szdd.h"

namespace korva {

namespace {

std::string SystemDirectory() {
    char directory[kPathSize] = {};
    UINT length = GetSystemDirectoryA(directory, sizeof directory);
    return length > 0 && length < sizeof directory ? std::string(directory) : std::string();
}

// Far above any common-controls library; a larger file on the CD is not one.
constexpr std::uint32_t kLibrarySizeLimit = 16 * 1024 * 1024;

} // namespace

bool HoldsLibraryOf(const std::string& copyPath, const std::string& sourcePath) {
    std::optional<std::vector<std::uint8_t>> source =
        fw::ReadWholeFile(sourcePath, kLibrarySizeLimit);
    if (!source) {
        return false;
    }
    if (!IsSzddStream(*source)) {
        return fw::FileHolds(copyPath, *source);
    }
    SzddExpansion library = ExpandSzdd(*source);
    return library.ok && fw::FileHolds(copyPath, library.data);
}

bool CommonControlsTooOld() {
    fw::UniqueLibrary library(LoadLibraryA("COMCTL32.DLL"));
    return library && GetProcAddress(library.Get(), "DllGetVersion") == nullptr;
}

std::string CommonControlsLibraryPath() {
    return JoinPath(SystemDirectory(), "comctl32.dll");
}

std::string CommonControlsTemporaryPath() {
    return JoinPath(SystemDirectory(), "comctl32.tm2");
}

void ReplaceCommonControls(const InstallState& state, const std::string& windowsDir,
                           int& doneMessageMode, int& incompatibleWindows) {
    if (CommonControlsTooOld()) {
        doneMessageMode = 0;
    }
    if (doneMessageMode) {
        return;
    }
    const std::string systemDir = SystemDirectory();
    const std::string copyPath = CommonControlsTemporaryPath();
    const fw::FileStamp before = fw::StampOf(copyPath);
    if (CopyInstallFile(state, state.programSourceDir, "comctl32.dll", systemDir, "comctl32.tm2",
                        kWholeFileCopy) == -1) {
        incompatibleWindows = 1;
        return;
    }
    // After Ignore, or a copy that reported success wrongly, the file under the temporary name
    // may be an earlier file or none: the restart would put it in place of the library.
    if (!HoldsLibraryOf(copyPath, JoinPath(state.programSourceDir, "comctl32.dll"))) {
        if (fw::StampOf(copyPath) != before) {
            DeleteFileA(copyPath.c_str()); // made by this step; an earlier file is not ours
        }
        incompatibleWindows = 1;
        return;
    }
    // At the next start the platform moves the temporary file over the library.
    fw::WriteProfileText(JoinPath(windowsDir, "wininit.ini"), "rename",
                         CommonControlsLibraryPath().c_str(), copyPath);
}

} // namespace korva
