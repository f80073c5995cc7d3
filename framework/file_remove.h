// Deleting a file the way the framework's file class does: a failure raises a file error.
#pragma once

#include <string>

namespace fw {

// Deletes `path`; throws CFileException with the cause and the file's name on failure.
void RemoveFile(const std::string& path);

} // namespace fw
