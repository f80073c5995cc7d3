#include "aliases.h"

#include "scratch.h"

#include <windows.h>

#include <cctype>
#include <stdexcept>

namespace testfs {

namespace {

// A Linux path for a shell command: in single quotes, which the paths of the tests never hold.
std::string Quoted(const std::string& unixPath) {
    if (unixPath.find('\'') != std::string::npos) {
        throw std::runtime_error("a quote in " + unixPath);
    }
    return "'" + unixPath + "'";
}

std::string DosDevices() {
    return PrefixUnixDir() + "/dosdevices";
}

} // namespace

ScopedDriveLetter::ScopedDriveLetter(char letter, const std::string& target)
    : letter_(static_cast<char>(toupper(letter))) {
    link_ = DosDevices() + "/" + static_cast<char>(tolower(letter)) + ":";
    if (Exists(Root())) {
        throw std::runtime_error("drive " + Root() + " is in use");
    }
    if (RunHostProgram("/bin/ln -s " + Quoted(UnixPath(target)) + " " + Quoted(link_)) != 0) {
        throw std::runtime_error("cannot make drive " + Root());
    }
}

ScopedDriveLetter::~ScopedDriveLetter() {
    RunHostProgram("/bin/rm -f " + Quoted(link_));
}

std::string ScopedDriveLetter::Root() const {
    return std::string(1, letter_) + ":\\";
}

ScopedNetworkName::ScopedNetworkName(const std::string& server, const std::string& share,
                                     const std::string& target)
    : server_(server), share_(share) {
    // Wine finds "\\server\share" among the prefix's devices.
    serverDir_ = DosDevices() + "/unc/" + server;
    if (RunHostProgram("/bin/mkdir -p " + Quoted(serverDir_)) != 0 ||
        RunHostProgram("/bin/ln -sfn " + Quoted(UnixPath(target)) + " " +
                       Quoted(serverDir_ + "/" + share)) != 0) {
        throw std::runtime_error("cannot make " + Path());
    }
}

ScopedNetworkName::~ScopedNetworkName() {
    RunHostProgram("/bin/rm -f " + Quoted(serverDir_ + "/" + share_));
    RunHostProgram("/bin/rmdir " + Quoted(serverDir_) + " " + Quoted(DosDevices() + "/unc"));
}

ScopedLinkedFolder::ScopedLinkedFolder(std::string folder, const std::string& target)
    : folder_(std::move(folder)), saved_(folder_ + " (korva-test)") {
    if (!MoveFileA(folder_.c_str(), saved_.c_str())) {
        throw std::runtime_error("cannot move " + folder_ + " aside");
    }
    if (RunHostProgram("/bin/ln -s " + Quoted(UnixPath(target)) + " " +
                       Quoted(UnixPath(folder_))) != 0) {
        MoveFileA(saved_.c_str(), folder_.c_str());
        throw std::runtime_error("cannot link " + folder_);
    }
}

ScopedLinkedFolder::~ScopedLinkedFolder() {
    RemoveLink(folder_);
    MoveFileA(saved_.c_str(), folder_.c_str());
}

ScopedBindMount::ScopedBindMount(const std::string& source, const std::string& mountPoint)
    : mountPoint_(UnixPath(mountPoint)) {
    mounted_ = RunHostProgram("/bin/mount --bind " + Quoted(UnixPath(source)) + " " +
                              Quoted(mountPoint_)) == 0;
}

ScopedBindMount::~ScopedBindMount() {
    if (mounted_) {
        RunHostProgram("/bin/umount " + Quoted(mountPoint_));
    }
}

} // namespace testfs
