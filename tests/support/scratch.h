// Files for tests that run inside a Wine prefix: scratch directories, whole-file reads and
// writes, the sample CD and the prefix's settings file.
#pragma once

#include <string>
#include <vector>

namespace testfs {

// The sample CD built with the programs, as a Windows path.
std::string SampleCd();
// An empty directory of the prefix's temporary directory for one test.
std::string FreshScratchDir(const std::string& name);
// Removes a directory tree; links in it are removed, never followed.
void RemoveTree(const std::string& path);
// Removes a link (under Wine a Linux symbolic link) without touching its target.
void RemoveLink(const std::string& path);
void MakeDirs(const std::string& path);
bool Exists(const std::string& path);
void CopyFileOrFail(const std::string& from, const std::string& to);
// Copies a directory tree; `to` is created.
void CopyTree(const std::string& from, const std::string& to);
// Relative paths of every file under `root` ("sub\\name"), sorted. A link is listed as an
// entry and not followed.
std::vector<std::string> ListTree(const std::string& root);
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& text);
void DeleteFileIfAny(const std::string& path);
// Lines of a text file without their line ends; empty when the file is missing.
std::vector<std::string> ReadLines(const std::string& path);

// Read-only as the machine really enforces it: the DOS attribute and, below Wine, the
// file system's immutable flag (the tests run as root, who may write any file).
void SetReadOnly(const std::string& path, bool readOnly);

// A file or directory made read-only (both flags) for the life of the object; the destructor
// clears both again, also when an assertion ends the test early, so that the clean-up after
// the test can delete it.
class ScopedReadOnly {
public:
    explicit ScopedReadOnly(std::string path);
    ~ScopedReadOnly();
    ScopedReadOnly(const ScopedReadOnly&) = delete;
    ScopedReadOnly& operator=(const ScopedReadOnly&) = delete;

private:
    std::string path_;
};
// The Linux path of a Windows path under Wine.
std::string UnixPath(const std::string& path);
// The Windows path of a Linux path under Wine: the whole Linux tree is drive Z:.
std::string WindowsPath(const std::string& unixPath);
// The Linux directory of the Wine prefix the test runs in.
std::string PrefixUnixDir();
// Runs a Linux program (Wine starts ELF programs too) and returns its exit code, -1 if none.
long RunHostProgram(const std::string& commandLine);

// A file planted for one test, deleted again when the test ends, however it ends.
class ScopedFile {
public:
    ScopedFile(std::string path, const std::string& text);
    ~ScopedFile();
    ScopedFile(const ScopedFile&) = delete;
    ScopedFile& operator=(const ScopedFile&) = delete;

private:
    std::string path_;
};

// A Linux symbolic link at `path` to `target` (both Windows paths) for one test: what Wine
// shows for a link or junction. Removed again, the target untouched.
class ScopedLink {
public:
    ScopedLink(std::string path, const std::string& target);
    ~ScopedLink();
    ScopedLink(const ScopedLink&) = delete;
    ScopedLink& operator=(const ScopedLink&) = delete;

private:
    std::string path_;
};

// The Linux path of the link that makes `letter` a drive of the prefix.
std::string DriveLinkPath(char letter);

// A small file system (tmpfs) mounted for one test and shown as a drive of the prefix; the
// drive and the mount are removed again however the test ends. Mounted() is false when this
// machine cannot mount one.
class ScopedSmallDrive {
public:
    ScopedSmallDrive(char letter, unsigned kilobytes);
    ~ScopedSmallDrive();
    ScopedSmallDrive(const ScopedSmallDrive&) = delete;
    ScopedSmallDrive& operator=(const ScopedSmallDrive&) = delete;
    bool Mounted() const { return mounted_; }

private:
    std::string mountPoint_;
    std::string driveLink_;
    bool mounted_ = false;
};

// A fresh directory of the build tree, outside the prefix (beside the test program), for one
// test: what links from the prefix lead to, and what must survive whatever the program does
// in the prefix. Removed again however the test ends; links in it are not followed.
class ScopedOutsideDir {
public:
    explicit ScopedOutsideDir(const std::string& name);
    ~ScopedOutsideDir();
    ScopedOutsideDir(const ScopedOutsideDir&) = delete;
    ScopedOutsideDir& operator=(const ScopedOutsideDir&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// Makes the file look last written `seconds` ago.
void SetAge(const std::string& path, unsigned seconds);

std::string WindowsDir();
std::string KorvaIniPath();

} // namespace testfs
