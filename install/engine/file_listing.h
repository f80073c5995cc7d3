// Sorted directory listings of the installation: the files of a group and the
// subdirectories of a directory, ordered by name without regard to case.
#pragma once

#include <string>
#include <vector>

namespace korva {

// Names of the files matching a wildcard pattern ("C:\cd\*.bmp"). Directories, hidden and
// system files are not listed; read-only files are (everything on a CD is read-only).
std::vector<std::string> ListFiles(const std::string& pattern);

// Names of the subdirectories of a directory, without "." and "..".
std::vector<std::string> ListSubdirectories(const std::string& directory);

// Size of a file in bytes; 0 when it cannot be found or is a directory.
unsigned long FileSizeOf(const std::string& path);

} // namespace korva
