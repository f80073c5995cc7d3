// The whole-file copy: the file read and written in one piece.
#pragma once

#include <string>

namespace korva {

struct CopyFault;

// One read and one write through a block as large as the file. 0 on success, otherwise the
// file error's cause (1 when the block cannot be allocated); a failed copy leaves no file
// under the destination name (a link there is never deleted through).
int CopyWholeFile(const std::string& sourcePath, const std::string& destPath);
// The same, noting in `fault` which side failed and why. `createNew`: the destination is
// created new and the copy fails when anything is already under its name.
int CopyWholeFile(const std::string& sourcePath, const std::string& destPath, CopyFault& fault,
                  bool createNew = false);

} // namespace korva
