// Where a failed copy went wrong and how the user is told: a source that cannot be read asks
// for the right disk; a destination that refuses the file names it and the cause.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace korva {

enum class CopyFaultPlace { kSource, kDestination, kMemory };
enum class DestinationCause {
    kNotWritable,
    kInUse,
    kDiskFull,
    kNoDirectory,
    kNotAFile, // a link, a directory or a device holds the name of a file created new
};

struct CopyFault {
    CopyFaultPlace place = CopyFaultPlace::kSource;
    DestinationCause cause = DestinationCause::kNotWritable;
};

// The cause of a platform error met while creating or writing a destination.
DestinationCause DestinationCauseOfError(DWORD win32Error);

// The fault a failed version installation into `destDir` reports. Bits that say only that the
// file could not be put in place are told apart by looking at the destination: a missing
// directory, or less free space than the file needs.
CopyFault VersionInstallFault(DWORD result, const std::string& destDir, std::uint64_t sourceSize);

// The message of a destination at fault, naming `path`, with Abort, Retry and Ignore.
// Returns IDABORT, IDRETRY or IDIGNORE.
int AskAboutDestinationFault(const std::string& path, DestinationCause cause);

} // namespace korva
