// Copying files into the installation, one at a time, with the user's choice of Abort, Retry
// or Ignore when a copy fails; sums of file sizes and the free-space check of a file group.
// The copying itself is in whole_file_copy.h and the version installation; the cancel poll
// between files in cancel_poll.h.
#pragma once

#include "install/engine/cancel_poll.h"
#include "install/engine/platform_probes.h"
#include "install/engine/whole_file_copy.h"
#include "install/shared/portable/install_state.h"

#include <cstdint>
#include <string>
#include <vector>

class CopyProgressDialog;

namespace korva {

enum CopyMethod { kWholeFileCopy = 1, kVersionInstall = 3 };

// How the destination name is treated: an installed file replaces what is there; a temporary
// file is created new, and only an earlier plain file under its name gives way to it.
enum class DestinationName { kReplace, kCreateNew };

// Copies <sourceDir>\<sourceName> to <destDir>\<destName>. Returns the source's size on
// success, 1 after Ignore, -1 after Abort. The Windows 95 family always uses the version
// installation. A source that cannot be read asks for the right disk, naming the source's
// real path; a destination that refuses the file is named with the cause. `progress`, when
// given, paints the latest file name before the question. `earlierTemporaryFiles`, when
// given, are the version installation's temporary files that were in `destDir` before the
// run's copies into it (otherwise the directory is listed before the copy). With
// DestinationName::kCreateNew, every attempt first deletes an earlier plain file under the
// destination name; a link, a directory or a device there is a destination fault, never
// written or deleted through.
long CopyInstallFile(const InstallState& state, const std::string& sourceDir,
                     const std::string& sourceName, const std::string& destDir,
                     const std::string& destName, int method,
                     CopyProgressDialog* progress = nullptr,
                     const std::vector<std::string>* earlierTemporaryFiles = nullptr,
                     DestinationName destination = DestinationName::kReplace);

// Sum of the sizes of <dir>\<name> over a comma-separated list; missing files add nothing.
std::uint32_t SumFileSizes(const std::string& dir, const std::string& list);

// Byte total of a file group (summed from the listing when knownTotal is 0), 1 for an empty
// group, 0 when the user chose Abort at the low-space message.
std::uint32_t CheckSpaceForFiles(const std::string& sourceDir, const std::string& checkDir,
                                 const std::vector<std::string>& listing, std::uint32_t knownTotal,
                                 const PlatformProbes& probes = {});

} // namespace korva
