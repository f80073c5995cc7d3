// Second names for a place of the prefix, made for one test and removed again however the test
// ends: a drive letter, a network name, a folder of the prefix turned into a link, and a bind
// mount. Each is what Wine or a user's system can give any directory; none is told apart by
// its spelling.
#pragma once

#include <string>

namespace testfs {

// Drive `letter` leads to the directory `target` (a Windows path).
class ScopedDriveLetter {
public:
    ScopedDriveLetter(char letter, const std::string& target);
    ~ScopedDriveLetter();
    ScopedDriveLetter(const ScopedDriveLetter&) = delete;
    ScopedDriveLetter& operator=(const ScopedDriveLetter&) = delete;
    // "X:\".
    std::string Root() const;

private:
    char letter_;
    std::string link_;
};

// "\\server\share" leads to the directory `target`.
class ScopedNetworkName {
public:
    ScopedNetworkName(const std::string& server, const std::string& share,
                      const std::string& target);
    ~ScopedNetworkName();
    ScopedNetworkName(const ScopedNetworkName&) = delete;
    ScopedNetworkName& operator=(const ScopedNetworkName&) = delete;
    std::string Path() const { return "\\\\" + server_ + "\\" + share_; }

private:
    std::string server_;
    std::string share_;
    std::string serverDir_;
};

// The folder `folder` of the prefix becomes a link to `target`, as Wine makes the user's
// folders links into the home directory; the folder is put back afterwards.
class ScopedLinkedFolder {
public:
    ScopedLinkedFolder(std::string folder, const std::string& target);
    ~ScopedLinkedFolder();
    ScopedLinkedFolder(const ScopedLinkedFolder&) = delete;
    ScopedLinkedFolder& operator=(const ScopedLinkedFolder&) = delete;

private:
    std::string folder_;
    std::string saved_;
};

// The directory `source` mounted on the directory `mountPoint` (both Windows paths): Wine shows
// the mount point as a plain directory. Mounted() is false when this machine cannot mount.
class ScopedBindMount {
public:
    ScopedBindMount(const std::string& source, const std::string& mountPoint);
    ~ScopedBindMount();
    ScopedBindMount(const ScopedBindMount&) = delete;
    ScopedBindMount& operator=(const ScopedBindMount&) = delete;
    bool Mounted() const { return mounted_; }

private:
    std::string mountPoint_;
    bool mounted_ = false;
};

} // namespace testfs
