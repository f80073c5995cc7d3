#include "framework/file_remove.h"

#include "framework/file_exception.h"

namespace fw {

void RemoveFile(const std::string& path) {
    if (!DeleteFileA(path.c_str())) {
        int cause = CFileException::CauseFromWin32Error(GetLastError());
        throw CFileException(
            cause == CFileException::none ? CFileException::genericException : cause, path);
    }
}

} // namespace fw
