#include "cdrom_drive.h"

#include "scratch.h"

#include <windows.h>
#include <winioctl.h>

#include <cctype>
#include <cstring>
#include <vector>

namespace testfs {

namespace {

// Wine's own request to its mount manager: define (or, with DRIVE_NO_ROOT_DIR, remove) a
// drive letter for a Linux directory, as winecfg does.
constexpr DWORD kDefineUnixDrive =
    CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

struct UnixDriveRequest {
    ULONG size;
    ULONG type;
    ULONG fsType;
    DWORD serial;
    ULONGLONG unixDevice;
    WCHAR letter;
    USHORT mountPointOffset;
    USHORT deviceOffset;
    USHORT labelOffset;
};

std::string Variable(const char* name) {
    char value[1024] = {};
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

} // namespace

ScopedCdromDrive::ScopedCdromDrive(char letter)
    : letter_(static_cast<char>(std::toupper(static_cast<unsigned char>(letter)))) {
    mountPoint_ = Variable("KORVA_CDROM");
    if (mountPoint_.empty()) {
        problem_ = Variable("KORVA_CDROM_PROBLEM");
        if (problem_.empty()) {
            problem_ = "no disc image is mounted: ./test mounts the sample CD's image";
        }
        return;
    }
    if (GetDriveTypeA(Root().c_str()) != DRIVE_NO_ROOT_DIR && !LeadsToTheMount()) {
        problem_ = "drive " + Drive() + " of the prefix is taken by something else";
        return;
    }
    if (!Define(true)) {
        problem_ = "Wine's mount manager refused drive " + Drive() + " (error " +
                   std::to_string(GetLastError()) + ")";
        return;
    }
    defined_ = true;
    if (GetDriveTypeA(Root().c_str()) != DRIVE_CDROM) {
        problem_ = "drive " + Drive() + " does not show as a CD-ROM drive";
        return;
    }
    if (!Exists(Root() + "setvars.inf")) {
        problem_ = "drive " + Drive() + " does not show the sample CD";
        return;
    }
    ready_ = true;
}

ScopedCdromDrive::~ScopedCdromDrive() {
    if (defined_) {
        Define(false);
    }
}

bool ScopedCdromDrive::LeadsToTheMount() const {
    return RunHostProgram("/usr/bin/test $(/bin/readlink '" + DriveLinkPath(letter_) + "') = '" +
                          mountPoint_ + "'") == 0;
}

bool ScopedCdromDrive::Define(bool present) {
    std::vector<char> request(sizeof(UnixDriveRequest) + mountPoint_.size() + 1, '\0');
    auto* drive = reinterpret_cast<UnixDriveRequest*>(request.data());
    drive->size = static_cast<ULONG>(request.size());
    drive->letter = static_cast<WCHAR>(std::tolower(static_cast<unsigned char>(letter_)));
    drive->type = present ? DRIVE_CDROM : DRIVE_NO_ROOT_DIR;
    if (present) {
        drive->mountPointOffset = sizeof(UnixDriveRequest);
        std::memcpy(request.data() + sizeof(UnixDriveRequest), mountPoint_.c_str(),
                    mountPoint_.size() + 1);
    }
    HANDLE manager =
        CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (manager == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD returned = 0;
    const BOOL done =
        DeviceIoControl(manager, kDefineUnixDrive, request.data(),
                        static_cast<DWORD>(request.size()), nullptr, 0, &returned, nullptr);
    const DWORD error = GetLastError();
    CloseHandle(manager);
    SetLastError(error);
    return done != FALSE;
}

} // namespace testfs
