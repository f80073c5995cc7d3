// Copying files into the installation, one at a time, with the user's choice of Abort, Retry
// or Ignore when a copy fails; sums of file sizes and the free-space check of a file group.
#pragma once

#include "install_state.h"

#include <cstdint>
#include <string>
#include <vector>

class CopyProgressDialog;

namespace korva {

struct CopyFault;

enum CopyMethod { kWholeFileCopy = 1, kVersionInstall = 3 };

// Copies <sourceDir>\<sourceName> to <destDir>\<destName>. Returns the source's size on
// success, 1 after Ignore, -1 after Abort. The Windows 95 family always uses the version
// installation. A source that cannot be read asks for the right disk, naming the source's
// real path; a destination that refuses the file is named with the cause.
long CopyInstallFile(const InstallState& state, const std::string& sourceDir,
                     const std::string& sourceName, const std::string& destDir,
                     const std::string& destName, int method);

// One read and one write through a block as large as the file. 0 on success, otherwise the
// file error's cause (1 when the block cannot be allocated); a failed copy leaves no file
// under the destination name.
int CopyWholeFile(const std::string& sourcePath, const std::string& destPath);
// The same, noting in `fault` which side failed and why.
int CopyWholeFile(const std::string& sourcePath, const std::string& destPath, CopyFault& fault);

// Sum of the sizes of <dir>\<name> over a comma-separated list; missing files add nothing.
std::uint32_t SumFileSizes(const std::string& dir, const std::string& list);

// Byte total of a file group (summed from the listing when knownTotal is 0), 1 for an empty
// group, 0 when the user chose Abort at the low-space message.
std::uint32_t CheckSpaceForFiles(const std::string& sourceDir, const std::string& checkDir,
                                 const std::vector<std::string>& listing, std::uint32_t knownTotal);

// True when the user asks to cancel: Escape held, or the left button held over the progress
// window's "Annulla". A cancelling Escape is waited for until it is let go and its key
// messages are taken out of the queue, so that it answers no later window.
bool PollCancel(const CopyProgressDialog* progress);

// Waits until `virtualKey` is released, then takes every key message out of the queue.
void SwallowCancelKey(int virtualKey);

} // namespace korva
