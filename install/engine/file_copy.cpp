#include "file_copy.h"

#include "app.h"
#include "copy_fault.h"
#include "copy_progress_dialog.h"
#include "file_exception.h"
#include "file_listing.h"
#include "file_probe.h"
#include "handles.h"
#include "platform_probes.h"
#include "resource.h"
#include "resource_strings.h"
#include "setup_values.h"
#include "version_install.h"

namespace korva {

namespace {

int LastErrorCause() {
    int cause = CFileException::CauseFromWin32Error(GetLastError());
    return cause == CFileException::none ? CFileException::genericException : cause;
}

// The cause of the last platform error, noting it as a fault of the destination.
int DestinationFailure(CopyFault& fault) {
    const DWORD error = GetLastError();
    fault.place = CopyFaultPlace::kDestination;
    fault.cause = DestinationCauseOfError(error);
    return LastErrorCause();
}

int SourceFailure(CopyFault& fault) {
    fault.place = CopyFaultPlace::kSource;
    return LastErrorCause();
}

void TakeOutKeyMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE | PM_NOYIELD)) {
    }
}

} // namespace

void SwallowCancelKey(int virtualKey) {
    // A held key repeats: its messages keep coming until it is let go. Those already queued
    // would otherwise answer the next window shown.
    for (;;) {
        TakeOutKeyMessages();
        if (!(GetAsyncKeyState(virtualKey) & 0x8000)) {
            break;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_KEY);
    }
    TakeOutKeyMessages();
}

int CopyWholeFile(const std::string& sourcePath, const std::string& destPath) {
    CopyFault fault;
    return CopyWholeFile(sourcePath, destPath, fault);
}

int CopyWholeFile(const std::string& sourcePath, const std::string& destPath, CopyFault& fault) {
    const std::string fullSource = fw::FullPathOf(sourcePath);
    if (!fullSource.empty() && fullSource == fw::FullPathOf(destPath)) {
        return 0;
    }
    fw::UniqueFileHandle source(CreateFileA(sourcePath.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                            nullptr));
    if (!source) {
        return SourceFailure(fault);
    }
    fw::UniqueFileHandle dest(CreateFileA(destPath.c_str(), GENERIC_WRITE, 0, nullptr,
                                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!dest) {
        return DestinationFailure(fault);
    }
    int result = 0;
    const DWORD length = GetFileSize(source.Get(), nullptr);
    if (length == INVALID_FILE_SIZE) {
        result = SourceFailure(fault);
    } else if (length != 0) {
        fw::UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, length));
        void* data = block ? GlobalLock(block.Get()) : nullptr;
        if (!data) {
            fault.place = CopyFaultPlace::kMemory;
            result = 1;
        } else {
            DWORD read = 0;
            DWORD written = 0;
            if (!ReadFile(source.Get(), data, length, &read, nullptr)) {
                result = SourceFailure(fault);
            } else if (read != length) {
                fault.place = CopyFaultPlace::kSource;
                result = CFileException::endOfFile;
            } else if (!WriteFile(dest.Get(), data, length, &written, nullptr)) {
                result = DestinationFailure(fault);
            } else if (written != length) {
                fault.place = CopyFaultPlace::kDestination;
                fault.cause = DestinationCause::kDiskFull;
                result = CFileException::diskFull;
            }
            GlobalUnlock(block.Get());
        }
    }
    dest.Reset();
    if (result != 0) {
        DeleteFileA(destPath.c_str());
    }
    return result;
}

long CopyInstallFile(const InstallState& state, const std::string& sourceDir,
                     const std::string& sourceName, const std::string& destDir,
                     const std::string& destName, int method) {
    if (state.systemType == kWindows95Family) {
        method = kVersionInstall;
    }
    const std::string sourcePath = JoinPath(sourceDir, sourceName);
    const std::string destPath = JoinPath(destDir, destName);
    const long size = static_cast<long>(FileSizeOf(sourcePath));
    for (;;) {
        CopyFault fault;
        bool copied = false;
        if (method == kVersionInstall) {
            const DWORD result = fw::ForceVersionInstall(sourceDir, sourceName, destDir, destName);
            copied = !fw::VersionInstallFailed(result);
            if (!copied) {
                fault = VersionInstallFault(result, destDir, static_cast<std::uint32_t>(size));
            }
        } else {
            copied = CopyWholeFile(sourcePath, destPath, fault) == 0;
        }
        if (copied) {
            return size;
        }
        CopyProgressDialog::ShowWaitingFileName();
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
                                 const std::vector<std::string>& listing,
                                 std::uint32_t knownTotal) {
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
    if (GetFreeBytes(DriveRootOf(checkDir)) < total) {
        if (AppMessageBox(IDS_DISK_SPACE_GROUP, MB_ABORTRETRYIGNORE | MB_ICONEXCLAMATION) ==
            IDABORT) {
            SetCursor(previous);
            return 0;
        }
    }
    SetCursor(previous);
    return total;
}

bool PollCancel(const CopyProgressDialog* progress) {
    // Lets the platform take in the input that arrived while files were copied (nothing is
    // dispatched), so that the key state is the keyboard's own.
    GetQueueStatus(QS_INPUT);
    if (GetAsyncKeyState(VK_ESCAPE) & 0x8000) {
        SwallowCancelKey(VK_ESCAPE);
        return true;
    }
    if (!(GetAsyncKeyState(VK_LBUTTON) & 0x8000) || !progress) {
        return false;
    }
    RECT button;
    POINT cursor;
    if (!progress->CancelButtonRect(button) || !GetCursorPos(&cursor)) {
        return false;
    }
    // Edges included.
    return cursor.x >= button.left && cursor.x <= button.right && cursor.y >= button.top &&
           cursor.y <= button.bottom;
}

} // namespace korva
