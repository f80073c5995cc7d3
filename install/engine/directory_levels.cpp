#include "install/engine/directory_levels.h"

#include "install/engine/copy_fault.h"
#include "install/shared/portable/paths.h"

#include <windows.h>

namespace korva {

namespace {

bool IsDirectory(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Creates the missing levels; on failure names the level and the platform's error.
bool CreateLevels(const std::string& path, std::string& failedLevel, DWORD& error) {
    for (const std::string& level : DirectoryLevels(path)) {
        if (CreateDirectoryA(level.c_str(), nullptr)) {
            continue;
        }
        const DWORD failure = GetLastError();
        if (IsDirectory(level)) {
            continue;
        }
        failedLevel = level;
        error = failure;
        return false;
    }
    return true;
}

} // namespace

bool EnsureDirectory(const std::string& path) {
    for (;;) {
        std::string failedLevel;
        DWORD error = ERROR_SUCCESS;
        if (CreateLevels(path, failedLevel, error)) {
            return true;
        }
        // A level whose parent is missing was not created above it: the level itself cannot be
        // written, whatever error the platform gives for its name.
        DestinationCause cause = DestinationCauseOfError(error);
        if (cause == DestinationCause::kNoDirectory) {
            cause = DestinationCause::kNotWritable;
        }
        switch (AskAboutDestinationFault(failedLevel, cause)) {
        case IDABORT:
            return false;
        case IDIGNORE:
            return true;
        default:
            break; // Retry
        }
    }
}

} // namespace korva
