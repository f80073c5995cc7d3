#include "scratch.h"

#include "robot.h"
#include "tests/support/directory_entries.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <utility>

namespace testfs {

std::string SampleCd() {
    return WindowsPath(KORVA_SAMPLE_CD_UNIX);
}

void RemoveTree(const std::string& path) {
    for (const WIN32_FIND_DATAA& entry : DirectoryEntries(path)) {
        const std::string child = path + "\\" + entry.cFileName;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
            // A link: never followed, its target is somebody else's.
            RemoveLink(child);
            continue;
        }
        SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            RemoveTree(child);
        } else {
            DeleteFileA(child.c_str());
        }
    }
    RemoveDirectoryA(path.c_str());
}

void RemoveLink(const std::string& path) {
    // Under Wine a link is a Linux symbolic link: removed as such, its target untouched.
    RunHostProgram("/bin/rm -f \"" + UnixPath(path) + "\"");
}

void MakeDirs(const std::string& path) {
    for (size_t pos = path.find('\\', 3); pos != std::string::npos;
         pos = path.find('\\', pos + 1)) {
        CreateDirectoryA(path.substr(0, pos).c_str(), nullptr);
    }
    CreateDirectoryA(path.c_str(), nullptr);
}

std::string FreshScratchDir(const std::string& name) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string dir = std::string(temp) + "korva-tests\\" + name;
    // A file still held by a program that has just ended (its image, say) is only marked for
    // deletion; Wine unlinks it by name when the last handle closes, which would take a fresh
    // copy of the same name with it. So the old tree must be gone before the new one is made.
    const bool cleared = robot::WaitUntil([&] {
        RemoveTree(dir);
        return !Exists(dir);
    });
    if (!cleared) {
        throw std::runtime_error("cannot clear the scratch directory " + dir);
    }
    MakeDirs(dir);
    return dir;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void CopyFileOrFail(const std::string& from, const std::string& to) {
    if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) {
        throw std::runtime_error("cannot copy " + from + " to " + to);
    }
}

void CopyTree(const std::string& from, const std::string& to) {
    MakeDirs(to);
    for (const WIN32_FIND_DATAA& entry : DirectoryEntries(from)) {
        const std::string name = entry.cFileName;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            CopyTree(from + "\\" + name, to + "\\" + name);
        } else {
            CopyFileOrFail(from + "\\" + name, to + "\\" + name);
        }
    }
}

namespace {
void CollectTree(const std::string& root, const std::string& relative,
                 std::vector<std::string>& files) {
    const std::string dir = relative.empty() ? root : root + "\\" + relative;
    for (const WIN32_FIND_DATAA& entry : DirectoryEntries(dir)) {
        const std::string name = entry.cFileName;
        const std::string path = relative.empty() ? name : relative + "\\" + name;
        // A link is listed as an entry of its own and not followed.
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
            CollectTree(root, path, files);
        } else {
            files.push_back(path);
        }
    }
}
} // namespace

std::vector<std::string> ListTree(const std::string& root) {
    std::vector<std::string> files;
    CollectTree(root, "", files);
    SortWithoutCase(files);
    return files;
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    if (!file) {
        throw std::runtime_error("cannot write " + path);
    }
}

void DeleteFileIfAny(const std::string& path) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::istringstream text(ReadFile(path));
    std::string line;
    while (std::getline(text, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

std::string WindowsPath(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::string UnixPath(const std::string& path) {
    using ToUnix = char*(CDECL*)(LPCWSTR);
    static auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    wchar_t wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    char* unix = toUnix ? toUnix(wide) : nullptr;
    if (!unix) {
        throw std::runtime_error("no Linux path for " + path);
    }
    std::string result = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
}

long RunHostProgram(const std::string& commandLine) {
    // Wine starts a Linux program without a process handle to wait on: the command writes its
    // exit code into a file when it ends, and that file is waited for.
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    static int counter = 0;
    const std::string done = std::string(temp) + "host-command-" +
                             std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(++counter) + ".done";
    DeleteFileA(done.c_str());
    const std::string unixDone = UnixPath(done);
    std::string command = "/bin/sh -c \"" + commandLine + "; echo $? > '" + unixDone +
                          ".tmp' && mv '" + unixDone + ".tmp' '" + unixDone + "'\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        return -1;
    }
    for (int waited = 0; waited < 1000 && !Exists(done); ++waited) {
        Sleep(10);
    }
    if (!Exists(done)) {
        return -1;
    }
    long code = std::strtol(ReadFile(done).c_str(), nullptr, 10);
    DeleteFileA(done.c_str());
    return code;
}

void SetReadOnly(const std::string& path, bool readOnly) {
    const std::string flag = readOnly ? "+i" : "-i";
    if (!readOnly) {
        RunHostProgram("/usr/bin/chattr " + flag + " \"" + UnixPath(path) + "\"");
    }
    SetFileAttributesA(path.c_str(), readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
    if (readOnly) {
        RunHostProgram("/usr/bin/chattr " + flag + " \"" + UnixPath(path) + "\"");
    }
}

ScopedFile::ScopedFile(std::string path, const std::string& text) : path_(std::move(path)) {
    WriteFile(path_, text);
}

ScopedFile::~ScopedFile() {
    DeleteFileIfAny(path_);
}

ScopedLink::ScopedLink(std::string path, const std::string& target) : path_(std::move(path)) {
    if (RunHostProgram("/bin/ln -s \"" + UnixPath(target) + "\" \"" + UnixPath(path_) + "\"") !=
        0) {
        throw std::runtime_error("cannot link " + path_ + " to " + target);
    }
}

ScopedLink::~ScopedLink() {
    RemoveLink(path_);
}

ScopedReadOnly::ScopedReadOnly(std::string path) : path_(std::move(path)) {
    SetReadOnly(path_, true);
}

ScopedReadOnly::~ScopedReadOnly() {
    SetReadOnly(path_, false);
}

std::string PrefixUnixDir() {
    const std::string windows = UnixPath(WindowsDir());
    const std::size_t cut = windows.find("/dosdevices/") != std::string::npos
                                ? windows.find("/dosdevices/")
                                : windows.rfind("/drive_c");
    return windows.substr(0, cut);
}

std::string DriveLinkPath(char letter) {
    // The prefix's drive letters are the links in its dosdevices directory.
    return PrefixUnixDir() + "/dosdevices/" +
           static_cast<char>(tolower(static_cast<unsigned char>(letter))) + ":";
}

ScopedSmallDrive::ScopedSmallDrive(char letter, unsigned kilobytes) {
    driveLink_ = DriveLinkPath(letter);
    mountPoint_ = "/tmp/korva-small-" + std::to_string(GetCurrentProcessId());
    if (RunHostProgram("/bin/mkdir -p " + mountPoint_) != 0 ||
        RunHostProgram("/bin/mount -t tmpfs -o size=" + std::to_string(kilobytes) + "k tmpfs " +
                       mountPoint_) != 0) {
        RunHostProgram("/bin/rmdir " + mountPoint_);
        return;
    }
    mounted_ = true;
    RunHostProgram("/bin/ln -sfn " + mountPoint_ + " '" + driveLink_ + "'");
}

ScopedSmallDrive::~ScopedSmallDrive() {
    if (!mounted_) {
        return;
    }
    RunHostProgram("/bin/rm -f '" + driveLink_ + "'");
    RunHostProgram("/bin/umount " + mountPoint_);
    RunHostProgram("/bin/rmdir " + mountPoint_);
}

ScopedOutsideDir::ScopedOutsideDir(const std::string& name) {
    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    path_ = program;
    // The prefixes run their tests side by side, and each numbers its processes from the same
    // start: the prefix's name keeps their directories apart.
    char prefix[64] = {};
    const DWORD length = GetEnvironmentVariableA("KORVA_PREFIX", prefix, sizeof prefix);
    path_ = path_.substr(0, path_.rfind('\\')) + "\\outside-" +
            (length > 0 && length < sizeof prefix ? std::string(prefix, length) : "nt") + "-" +
            name + "-" + std::to_string(GetCurrentProcessId());
    RemoveTree(path_);
    MakeDirs(path_);
}

ScopedOutsideDir::~ScopedOutsideDir() {
    RemoveTree(path_);
}

void SetAge(const std::string& path, unsigned seconds) {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER time;
    time.LowPart = now.dwLowDateTime;
    time.HighPart = now.dwHighDateTime;
    time.QuadPart -= static_cast<unsigned long long>(seconds) * 10'000'000ull;
    const FILETIME then{time.LowPart, time.HighPart};
    HANDLE file =
        CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE || !SetFileTime(file, nullptr, nullptr, &then)) {
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
        }
        throw std::runtime_error("cannot date " + path);
    }
    CloseHandle(file);
}

std::string WindowsDir() {
    char dir[MAX_PATH] = {};
    GetWindowsDirectoryA(dir, MAX_PATH);
    return dir;
}

std::string KorvaIniPath() {
    return WindowsDir() + "\\korva.ini";
}

} // namespace testfs
