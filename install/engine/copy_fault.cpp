#include "install/engine/copy_fault.h"

#include "framework/app.h"
#include "framework/resource_strings.h"
#include "install/engine/free_space.h"
#include "resources/install/resource.h"

#include <winver.h>

namespace korva {

namespace {

unsigned CauseTextId(DestinationCause cause) {
    switch (cause) {
    case DestinationCause::kInUse:
        return IDS_CAUSE_IN_USE;
    case DestinationCause::kDiskFull:
        return IDS_CAUSE_DISK_FULL;
    case DestinationCause::kNoDirectory:
        return IDS_CAUSE_NO_DIRECTORY;
    case DestinationCause::kNotAFile:
        return IDS_CAUSE_NOT_A_FILE;
    case DestinationCause::kNotWritable:
        break;
    }
    return IDS_CAUSE_NOT_WRITABLE;
}

bool IsDirectory(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Room is assumed where the platform cannot tell: the fault is then the destination's refusal.
bool HasRoomFor(const std::string& dir, std::uint64_t bytes) {
    const std::optional<std::uint64_t> free = FreeBytesOf(dir);
    return !free || *free >= bytes;
}

} // namespace

DestinationCause DestinationCauseOfError(DWORD win32Error) {
    switch (win32Error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return DestinationCause::kInUse;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return DestinationCause::kDiskFull;
    case ERROR_PATH_NOT_FOUND:
        return DestinationCause::kNoDirectory;
    case ERROR_FILE_EXISTS: // a file created new found its name taken
    case ERROR_ALREADY_EXISTS:
        return DestinationCause::kNotAFile;
    default:
        return DestinationCause::kNotWritable;
    }
}

CopyFault VersionInstallFault(DWORD result, const std::string& destDir, std::uint64_t sourceSize) {
    CopyFault fault;
    if (result & VIF_CANNOTREADSRC) {
        return fault;
    }
    if (result & VIF_OUTOFMEMORY) {
        fault.place = CopyFaultPlace::kMemory;
        return fault;
    }
    fault.place = CopyFaultPlace::kDestination;
    if (result & VIF_OUTOFSPACE) {
        fault.cause = DestinationCause::kDiskFull;
    } else if (result & (VIF_FILEINUSE | VIF_SHARINGVIOLATION | VIF_CANNOTDELETECUR)) {
        fault.cause = DestinationCause::kInUse;
    } else if (result & (VIF_WRITEPROT | VIF_ACCESSVIOLATION)) {
        fault.cause = DestinationCause::kNotWritable;
    } else if (!IsDirectory(destDir)) {
        fault.cause = DestinationCause::kNoDirectory;
    } else if (!HasRoomFor(destDir, sourceSize)) {
        fault.cause = DestinationCause::kDiskFull;
    } else {
        fault.cause = DestinationCause::kNotWritable;
    }
    return fault;
}

int AskAboutDestinationFault(const std::string& path, DestinationCause cause) {
    const std::string message =
        fw::FormatText(fw::LoadResourceString(IDS_DESTINATION_FAULT).c_str(), path.c_str(),
                       fw::LoadResourceString(CauseTextId(cause)).c_str());
    return AppMessageBox(message, MB_ABORTRETRYIGNORE | MB_ICONEXCLAMATION);
}

} // namespace korva
