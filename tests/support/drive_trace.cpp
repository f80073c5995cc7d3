#include "drive_trace.h"

#include "scratch.h"

#include <windows.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace testfs {

namespace {

// Access rights that let a handle change a file or directory, or what it lives in.
constexpr unsigned long kChangingAccess = 0x00000002    // FILE_WRITE_DATA, FILE_ADD_FILE
                                          | 0x00000004  // FILE_APPEND_DATA, FILE_ADD_SUBDIRECTORY
                                          | 0x00000010  // FILE_WRITE_EA
                                          | 0x00000040  // FILE_DELETE_CHILD
                                          | 0x00000100  // FILE_WRITE_ATTRIBUTES
                                          | 0x00010000  // DELETE
                                          | 0x00040000  // WRITE_DAC
                                          | 0x00080000  // WRITE_OWNER
                                          | 0x02000000  // MAXIMUM_ALLOWED
                                          | 0x10000000  // GENERIC_ALL
                                          | 0x40000000; // GENERIC_WRITE
constexpr unsigned long kOpenExisting = 1;              // FILE_OPEN
constexpr unsigned long kDeleteOnClose = 0x00001000;    // FILE_DELETE_ON_CLOSE

std::string Upper(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

// The value after `key` up to the next blank.
std::string Field(const std::string& line, const std::string& key) {
    const std::size_t at = line.find(" " + key);
    if (at == std::string::npos) {
        return "";
    }
    const std::size_t begin = at + 1 + key.size();
    return line.substr(begin, line.find(' ', begin) - begin);
}

// The first quoted wide string after `from` (L"..."), with the trace's escapes undone.
std::string QuotedName(const std::string& line, std::size_t from) {
    const std::size_t open = line.find("L\"", from);
    if (open == std::string::npos) {
        return "";
    }
    std::string name;
    for (std::size_t i = open + 2; i < line.size() && line[i] != '"'; ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) {
            ++i;
        }
        name += line[i];
    }
    return name;
}

std::string Variable(const char* name, bool& present) {
    char value[1024] = {};
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    present = length > 0 && length < sizeof value;
    return present ? std::string(value, length) : std::string();
}

} // namespace

DriveAccessTrace::DriveAccessTrace(char letter, const std::string& unixDirectory) {
    spellings_.push_back(Upper(std::string(1, letter) + ":"));
    std::string z = Upper(WindowsPath(unixDirectory));
    while (!z.empty() && z.back() == '\\') {
        z.pop_back();
    }
    spellings_.push_back(z);
    bool present = false;
    const std::string unixTrace = Variable("KORVA_WINE_STDERR", present);
    if (!present) {
        return;
    }
    tracePath_ = WindowsPath(unixTrace);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(tracePath_.c_str(), GetFileExInfoStandard, &data)) {
        tracePath_.clear();
        return;
    }
    start_ = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    previousDebug_ = Variable("WINEDEBUG", hadDebug_);
    SetEnvironmentVariableA("WINEDEBUG", "-all,trace+file,trace+volume");
}

DriveAccessTrace::~DriveAccessTrace() {
    if (Available()) {
        SetEnvironmentVariableA("WINEDEBUG", hadDebug_ ? previousDebug_.c_str() : nullptr);
    }
}

bool DriveAccessTrace::OnTheDrive(const std::string& name) const {
    std::string path = Upper(name);
    if (path.rfind("\\??\\", 0) == 0) {
        path.erase(0, 4);
    }
    for (const std::string& spelling : spellings_) {
        if (path.rfind(spelling, 0) == 0 &&
            (path.size() == spelling.size() || path[spelling.size()] == '\\')) {
            return true;
        }
    }
    return false;
}

DriveAccessTrace::Findings DriveAccessTrace::Read() const {
    Findings findings;
    std::ifstream file(tracePath_, std::ios::binary);
    if (!file) {
        return findings;
    }
    file.seekg(static_cast<std::streamoff>(start_));
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const std::size_t create = line.find(":trace:file:NtCreateFile ");
        if (create != std::string::npos) {
            const std::size_t nameAt = line.find(" name=", create);
            if (nameAt == std::string::npos || !OnTheDrive(QuotedName(line, nameAt))) {
                continue;
            }
            ++findings.opens;
            const unsigned long access = std::strtoul(Field(line, "access=").c_str(), nullptr, 16);
            const unsigned long disposition =
                std::strtoul(Field(line, "disp=").c_str(), nullptr, 10);
            const unsigned long options =
                std::strtoul(Field(line, "options=").c_str(), nullptr, 16);
            if ((access & kChangingAccess) || disposition != kOpenExisting ||
                (options & kDeleteOnClose)) {
                findings.changes.push_back(line);
            }
            continue;
        }
        const std::size_t space = line.find(":trace:volume:GetDiskFreeSpace");
        if (space == std::string::npos) {
            continue;
        }
        const std::string root = QuotedName(line, space);
        if (OnTheDrive(root)) {
            findings.freeSpace.push_back(line);
        } else if (!root.empty()) {
            ++findings.freeSpaceElsewhere;
        }
    }
    return findings;
}

} // namespace testfs
