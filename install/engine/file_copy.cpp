#include "file_copy.h"

#include "app.h"
#include "copy_progress_dialog.h"
#include "file_exception.h"
#include "file_listing.h"
#include "handles.h"
#include "platform_probes.h"
#include "resource.h"
#include "resource_strings.h"
#include "setup_values.h"
#include "version_install.h"

namespace korva {

namespace {

std::string FullPath(const std::string& path) {
    char full[MAX_PATH] = {};
    DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    return length > 0 && length < MAX_PATH ? std::string(full) : path;
}

int LastErrorCause() {
    int cause = CFileException::CauseFromWin32Error(GetLastError());
    return cause == CFileException::none ? CFileException::genericException : cause;
}

} // namespace

int CopyWholeFile(const std::string& sourcePath, const std::string& destPath) {
    if (FullPath(sourcePath) == FullPath(destPath)) {
        return 0;
    }
    fw::UniqueFileHandle source(CreateFileA(sourcePath.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                            nullptr));
    if (!source) {
        return LastErrorCause();
    }
    fw::UniqueFileHandle dest(CreateFileA(destPath.c_str(), GENERIC_WRITE, 0, nullptr,
                                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!dest) {
        return LastErrorCause();
    }
    int result = 0;
    const DWORD length = GetFileSize(source.Get(), nullptr);
    if (length == INVALID_FILE_SIZE) {
        result = LastErrorCause();
    } else if (length != 0) {
        fw::UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, length));
        void* data = block ? GlobalLock(block.Get()) : nullptr;
        if (!data) {
            result = 1;
        } else {
            DWORD read = 0;
            DWORD written = 0;
            if (!ReadFile(source.Get(), data, length, &read, nullptr)) {
                result = LastErrorCause();
            } else if (read != length) {
                result = CFileException::endOfFile;
            } else if (!WriteFile(dest.Get(), data, length, &written, nullptr)) {
                result = LastErrorCause();
            } else if (written != length) {
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
    const long size = static_cast<long>(FileSizeOf(JoinPath(sourceDir, sourceName)));
    for (;;) {
        bool copied =
            method == kVersionInstall
                ? !fw::VersionInstallFailed(
                      fw::ForceVersionInstall(sourceDir, sourceName, destDir, destName))
                : CopyWholeFile(JoinPath(sourceDir, sourceName), JoinPath(destDir, destName)) == 0;
        if (copied) {
            return size;
        }
        CopyProgressDialog::ShowWaitingFileName();
        const std::string message =
            fw::FormatText(fw::LoadResourceString(IDS_FILE_NOT_FOUND).c_str(),
                           state.programSourceDir, sourceName.c_str());
        switch (AppMessageBox(message, MB_ABORTRETRYIGNORE | MB_ICONEXCLAMATION)) {
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
    if (GetAsyncKeyState(VK_ESCAPE) & 0x8000) {
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
