#include "install/engine/file_copy.h"

#include "framework/app.h"
#include "framework/file_probe.h"
#include "framework/plain_file.h"
#include "framework/resource_strings.h"
#include "framework/version_install.h"
#include "install/engine/copy_fault.h"
#include "install/engine/copy_progress_dialog.h"
#include "install/engine/file_listing.h"
#include "install/engine/platform_probes.h"
#include "install/engine/portable/setup_values.h"
#include "resources/install/resource.h"

namespace korva {

long CopyInstallFile(const InstallState& state, const std::string& sourceDir,
                     const std::string& sourceName, const std::string& destDir,
                     const std::string& destName, int method, CopyProgressDialog* progress,
                     const std::vector<std::string>* earlierTemporaryFiles,
                     DestinationName destination) {
    if (state.systemType == kWindows95Family) {
        method = kVersionInstall;
    }
    const std::string sourcePath = JoinPath(sourceDir, sourceName);
    const std::string destPath = JoinPath(destDir, destName);
    const long size = static_cast<long>(FileSizeOf(sourcePath));
    for (;;) {
        CopyFault fault;
        bool copied = false;
        // A file copied onto itself is left as it is (the copy sees to that), never deleted.
        const bool createNew =
            destination == DestinationName::kCreateNew &&
            lstrcmpiA(fw::FullPathOf(sourcePath).c_str(), fw::FullPathOf(destPath).c_str()) != 0;
        const fw::FreshName room =
            createNew ? fw::FreeNameForFreshFile(destPath) : fw::FreshName::free;
        if (room != fw::FreshName::free) {
            fault.place = CopyFaultPlace::kDestination;
            fault.cause = room == fw::FreshName::taken ? DestinationCause::kNotAFile
                                                       : DestinationCauseOfError(GetLastError());
        } else if (method == kVersionInstall) {
            const DWORD result =
                earlierTemporaryFiles
                    ? fw::ForceVersionInstall(sourceDir, sourceName, destDir, destName,
                                              *earlierTemporaryFiles)
                    : fw::ForceVersionInstall(sourceDir, sourceName, destDir, destName);
            copied = !fw::VersionInstallFailed(result);
            if (!copied) {
                fault = VersionInstallFault(result, destDir, static_cast<std::uint32_t>(size));
            }
        } else {
            copied = CopyWholeFile(sourcePath, destPath, fault, createNew) == 0;
        }
        if (copied) {
            return size;
        }
        if (progress) {
            progress->ShowWaitingFileName();
        }
        int answer = IDRETRY;
        if (fault.place == CopyFaultPlace::kDestination) {
            answer = AskAboutDestinationFault(destPath, fault.cause);
        } else {
            // The source's own directory: area files are not in the program's source.
            const std::string message =
                fw::FormatText(fw::LoadResourceString(IDS_FILE_NOT_FOUND).c_str(),
                               sourceDir.c_str(), sourceName.c_str());
            answer = AppMessageBox(message, MB_ABORTRETRYIGNORE | MB_ICONEXCLAMATION);
        }
        switch (answer) {
        case IDABORT:
            return -1;
        case IDIGNORE:
            return 1;
        default:
            break; // Retry
        }
    }
}

std::uint32_t SumFileSizes(const std::string& dir, const std::string& list) {
    std::uint32_t total = 0;
    for (const std::string& name : SplitFileList(list)) {
        total += static_cast<std::uint32_t>(FileSizeOf(JoinPath(dir, name)));
    }
    return total;
}

std::uint32_t CheckSpaceForFiles(const std::string& sourceDir, const std::string& checkDir,
                                 const std::vector<std::string>& listing, std::uint32_t knownTotal,
                                 const PlatformProbes& probes) {
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    std::uint32_t total = knownTotal;
    if (total == 0) {
        for (const std::string& name : listing) {
            total += static_cast<std::uint32_t>(FileSizeOf(JoinPath(sourceDir, name)));
        }
        if (total == 0) {
            SetCursor(previous);
            return 1;
        }
    }
    if (probes.freeBytes(DriveRootOf(checkDir)) < total) {
        if (AppMessageBox(IDS_DISK_SPACE_GROUP, MB_ABORTRETRYIGNORE | MB_ICONEXCLAMATION) ==
            IDABORT) {
            SetCursor(previous);
            return 0;
        }
    }
    SetCursor(previous);
    return total;
}

} // namespace korva
