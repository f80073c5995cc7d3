// Sorted directory listings of the installation: the files of a group and the
// subdirectories of a directory, ordered by name without regard to case.
#pragma once

#include <optional>
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

// The two ways FileSizeOf reads it: the attribute call of Windows 98 and NT 4.0, looked up at run
// time (none where the system lacks it), and the file's directory entry, which every system has.
std::optional<unsigned long> FileSizeFromAttributes(const std::string& path);
unsigned long FileSizeFromDirectoryEntry(const std::string& path);

} // namespace korva
