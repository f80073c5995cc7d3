// What the platform lists of a directory, through FindFirstFileA and FindNextFileA, with the
// search handle closed however the listing ends.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testfs {

// The entries matching `pattern` ("C:\dir\*", "C:\dir\ver*.tmp", or a single path), without
// "." and "..", in the order the file system gives them; none when nothing matches.
std::vector<WIN32_FIND_DATAA> FindEntries(const std::string& pattern);
// Every entry of a directory.
std::vector<WIN32_FIND_DATAA> DirectoryEntries(const std::string& dir);

// Names of the entries matching `pattern` that are not directories, ordered as the programs
// order them: by name, without regard to case.
std::vector<std::string> FileNames(const std::string& pattern);
// Names of the subdirectories of `dir`, ordered likewise.
std::vector<std::string> SubdirectoryNames(const std::string& dir);
void SortWithoutCase(std::vector<std::string>& names);

} // namespace testfs
