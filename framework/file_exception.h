// The error raised by file operations, with the cause of the failure as a code.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

class CFileException : public std::exception {
public:
    // Cause codes, in the framework's numbering.
    enum Cause {
        none = 0,
        genericException = 1,
        fileNotFound = 2,
        badPath = 3,
        tooManyOpenFiles = 4,
        accessDenied = 5,
        invalidFile = 6,
        removeCurrentDir = 7,
        directoryFull = 8,
        badSeek = 9,
        hardIO = 10,
        sharingViolation = 11,
        lockViolation = 12,
        diskFull = 13,
        endOfFile = 14,
    };

    CFileException(int cause, std::string fileName)
        : cause_(cause), fileName_(std::move(fileName)) {}

    int Cause() const { return cause_; }
    const std::string& FileName() const { return fileName_; }
    const char* what() const noexcept override { return "file error"; }

    // Maps a Win32 error code to a cause.
    static int CauseFromWin32Error(DWORD error);

private:
    int cause_;
    std::string fileName_;
};
