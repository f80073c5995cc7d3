#include "framework/file_stamp.h"

#include "framework/handles.h"

#include <windows.h>

namespace fw {

namespace {

std::uint64_t Join(DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

} // namespace

FileStamp StampOf(const std::string& path) {
    FileStamp stamp;
    // No access asked for: only the file's information is read, whatever its sharing.
    UniqueFileHandle file(CreateFileA(path.c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!file || !GetFileInformationByHandle(file.Get(), &info)) {
        return stamp;
    }
    stamp.exists = true;
    stamp.volume = info.dwVolumeSerialNumber;
    stamp.index = Join(info.nFileIndexHigh, info.nFileIndexLow);
    stamp.size = Join(info.nFileSizeHigh, info.nFileSizeLow);
    stamp.written = Join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime);
    return stamp;
}

} // namespace fw
