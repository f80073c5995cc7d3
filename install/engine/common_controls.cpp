#include "install/engine/common_controls.h"

#include "framework/file_bytes.h"
#include "framework/file_stamp.h"
#include "framework/library_replacement.h"
#include "framework/plain_file.h"
#include "framework/restart_rename.h"
#include "install/engine/file_copy.h"
#include "install/shared/portable/paths.h"

namespace korva {

namespace {

// The copy goes where the restart will look for it: under WoW64 the 32-bit system directory by
// the name the 64-bit restart knows it by (SysWOW64). Named "system32" there, the line would
// make the 64-bit restart put this 32-bit library in place of the 64-bit one, and leave the
// 32-bit library the final message speaks of as it was.
std::string SystemDirectory() {
    const std::string directory = fw::SystemDirectoryForRestart();
    return directory.size() < kPathSize ? directory : std::string();
}

// Far above any common-controls library; a larger file on the CD is not one.
constexpr std::uint32_t kLibrarySizeLimit = 16 * 1024 * 1024;

// The library that the CD's file carries (see HoldsLibraryOf); none when it cannot be read.
std::optional<std::vector<std::uint8_t>> LibraryOnCd(const std::string& sourcePath) {
    const std::optional<std::vector<std::uint8_t>> source =
        fw::ReadWholeFile(sourcePath, kLibrarySizeLimit);
    return source ? fw::LibraryCarriedIn(*source) : std::nullopt;
}

} // namespace

bool HoldsLibraryOf(const std::string& copyPath, const std::string& sourcePath) {
    const std::optional<std::vector<std::uint8_t>> library = LibraryOnCd(sourcePath);
    return library && fw::FileHolds(copyPath, *library);
}

std::string CommonControlsLibraryPath() {
    return JoinPath(SystemDirectory(), "comctl32.dll");
}

std::string CommonControlsTemporaryPath() {
    return JoinPath(SystemDirectory(), "comctl32.tm2");
}

void ReplaceCommonControls(const InstallState& state, const std::string& windowsDir,
                           int& doneMessageMode, int& incompatibleWindows) {
    if (fw::CommonControlsTooOld()) {
        doneMessageMode = 0;
    }
    if (doneMessageMode) {
        return;
    }
    const std::string systemDir = SystemDirectory();
    const std::string copyPath = CommonControlsTemporaryPath();
    if (systemDir.empty()) {
        incompatibleWindows = 1;
        return;
    }
    const fw::FileStamp before = fw::StampOf(copyPath);
    // The temporary name is created new: an entry there that is not a plain file (a link to
    // another file, a directory) is the copy's fault, never written or deleted through.
    if (CopyInstallFile(state, state.programSourceDir, "comctl32.dll", systemDir, "comctl32.tm2",
                        kWholeFileCopy, nullptr, nullptr, DestinationName::kCreateNew) == -1) {
        incompatibleWindows = 1;
        return;
    }
    // After Ignore, or a copy that reported success wrongly, the file under the temporary name
    // may be an earlier file, a link or none: only the CD's library is scheduled.
    const std::optional<std::vector<std::uint8_t>> library =
        LibraryOnCd(JoinPath(state.programSourceDir, "comctl32.dll"));
    if (!library || !fw::ScheduleReplacement(JoinPath(windowsDir, "wininit.ini"),
                                             CommonControlsLibraryPath(), copyPath, *library)) {
        if (fw::StampOf(copyPath) != before) {
            fw::DeletePlainFile(copyPath); // made by this step; an earlier file is not ours
        }
        incompatibleWindows = 1;
    }
}

} // namespace korva
