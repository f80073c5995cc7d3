// The whole-file copy: the file read and written in one piece.
#pragma once

#include <string>

namespace korva {

struct CopyFault;

// One read and one write through a block as large as the file. 0 on success, otherwise the
// file error's cause (1 when the block cannot be allocated); a failed copy leaves no file
// under the destination name.
int CopyWholeFile(const std::string& sourcePath, const std::string& destPath);
// The same, noting in `fault` which side failed and why.
int CopyWholeFile(const std::string& sourcePath, const std::string& destPath, CopyFault& fault);

} // namespace korva
