#include "install/engine/whole_file_copy.h"

#include "framework/file_exception.h"
#include "framework/file_probe.h"
#include "framework/handles.h"
#include "framework/plain_file.h"
#include "install/engine/copy_fault.h"

namespace korva {

namespace {

int LastErrorCause() {
    int cause = CFileException::CauseFromWin32Error(GetLastError());
    return cause == CFileException::none ? CFileException::genericException : cause;
}

// The cause of the last platform error, noting it as a fault of the destination.
int DestinationFailure(CopyFault& fault) {
    const DWORD error = GetLastError();
    fault.place = CopyFaultPlace::kDestination;
    fault.cause = DestinationCauseOfError(error);
    return LastErrorCause();
}

int SourceFailure(CopyFault& fault) {
    fault.place = CopyFaultPlace::kSource;
    return LastErrorCause();
}

} // namespace

int CopyWholeFile(const std::string& sourcePath, const std::string& destPath) {
    CopyFault fault;
    return CopyWholeFile(sourcePath, destPath, fault);
}

int CopyWholeFile(const std::string& sourcePath, const std::string& destPath, CopyFault& fault,
                  bool createNew) {
    const std::string fullSource = fw::FullPathOf(sourcePath);
    if (!fullSource.empty() && fullSource == fw::FullPathOf(destPath)) {
        return 0;
    }
    fw::UniqueFileHandle source(CreateFileA(sourcePath.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                            nullptr));
    if (!source) {
        return SourceFailure(fault);
    }
    fw::UniqueFileHandle dest(CreateFileA(destPath.c_str(), GENERIC_WRITE, 0, nullptr,
                                          createNew ? CREATE_NEW : CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!dest) {
        return DestinationFailure(fault);
    }
    int result = 0;
    const DWORD length = GetFileSize(source.Get(), nullptr);
    if (length == INVALID_FILE_SIZE) {
        result = SourceFailure(fault);
    } else if (length != 0) {
        fw::UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, length));
        void* data = block ? GlobalLock(block.Get()) : nullptr;
        if (!data) {
            fault.place = CopyFaultPlace::kMemory;
            result = 1;
        } else {
            DWORD read = 0;
            DWORD written = 0;
            if (!ReadFile(source.Get(), data, length, &read, nullptr)) {
                result = SourceFailure(fault);
            } else if (read != length) {
                fault.place = CopyFaultPlace::kSource;
                result = CFileException::endOfFile;
            } else if (!WriteFile(dest.Get(), data, length, &written, nullptr)) {
                result = DestinationFailure(fault);
            } else if (written != length) {
                fault.place = CopyFaultPlace::kDestination;
                fault.cause = DestinationCause::kDiskFull;
                result = CFileException::diskFull;
            }
            GlobalUnlock(block.Get());
        }
    }
    dest.Reset();
    if (result != 0) {
        fw::DeletePlainFile(destPath);
    }
    return result;
}

} // namespace korva
