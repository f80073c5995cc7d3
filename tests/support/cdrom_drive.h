// The sample CD's disc image as a CD-ROM drive of the prefix. ./test mounts the image
// read-only (KORVA_CDROM names the mount point, KORVA_CDROM_PROBLEM says why there is none);
// this object shows that mount to the prefix as a drive of type CD-ROM, through Wine's mount
// manager (the drive's link in dosdevices and its type in HKLM\Software\Wine\Drives), and
// takes the drive away again however the test ends.
#pragma once

#include <string>

namespace testfs {

class ScopedCdromDrive {
public:
    explicit ScopedCdromDrive(char letter = 'D');
    ~ScopedCdromDrive();
    ScopedCdromDrive(const ScopedCdromDrive&) = delete;
    ScopedCdromDrive& operator=(const ScopedCdromDrive&) = delete;

    // True when the drive shows the mounted disc; otherwise Problem() says why not.
    bool Ready() const { return ready_; }
    const std::string& Problem() const { return problem_; }
    // "D:" and "D:\"
    std::string Drive() const { return std::string(1, letter_) + ":"; }
    std::string Root() const { return Drive() + "\\"; }
    // The mount point below Wine, as the Linux side names it.
    const std::string& UnixMountPoint() const { return mountPoint_; }

private:
    bool Define(bool present);
    // Whether the drive letter is already the link to the mounted disc (left by a test that
    // ended without its clean-up).
    bool LeadsToTheMount() const;

    char letter_;
    std::string mountPoint_;
    std::string problem_;
    bool defined_ = false;
    bool ready_ = false;
};

} // namespace testfs
