#include "common_controls.h"

#include "cover_dlg.h"
#include "file_copy.h"
#include "handles.h"
#include "paths.h"
#include "profile.h"

void CCoverDlg::ReplaceCommonControls() {
    korva::ReplaceCommonControls(install, windowsDir, doneMessageMode, incompatibleWindows);
}

namespace korva {

namespace {

std::string SystemDirectory() {
    char directory[kPathSize] = {};
    UINT length = GetSystemDirectoryA(directory, sizeof directory);
    return length > 0 && length < sizeof directory ? std::string(directory) : std::string();
}

} // namespace

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
    if (CopyInstallFile(state, state.programSourceDir, "comctl32.dll", systemDir, "comctl32.tm2",
                        kWholeFileCopy) == -1) {
        incompatibleWindows = 1;
        return;
    }
    // At the next start the platform moves the temporary file over the library.
    fw::WriteProfileText(JoinPath(windowsDir, "wininit.ini"), "rename",
                         CommonControlsLibraryPath().c_str(), CommonControlsTemporaryPath());
}

} // namespace korva
