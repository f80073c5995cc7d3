#include "linux_cpu_time.h"

#include "framework/handles.h"
#include "tests/support/directory_entries.h"

#include <windows.h>

#include <cstdlib>

namespace bench {

namespace {

constexpr const char* kProc = "Z:\\proc";

std::string ReadWhole(const std::string& path) {
    fw::UniqueFileHandle file(CreateFileA(path.c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, 0, nullptr));
    std::string text;
    char buffer[512];
    DWORD got = 0;
    while (file && ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
        text.append(buffer, got);
    }
    return text;
}

// The entries of a /proc directory that are processes or threads: their names are numbers.
template <typename Visit> void ForEachNumberedEntry(const std::string& dir, Visit visit) {
    for (const WIN32_FIND_DATAA& entry : testfs::DirectoryEntries(dir)) {
        if (entry.cFileName[0] >= '0' && entry.cFileName[0] <= '9') {
            visit(std::string(entry.cFileName));
        }
    }
}

} // namespace

bool LinuxCpuTime::Find(const std::string& windowsProgram) {
    procDir_.clear();
    ForEachNumberedEntry(kProc, [&](const std::string& pid) {
        if (!procDir_.empty()) {
            return;
        }
        const std::string dir = std::string(kProc) + "\\" + pid;
        // The first argument, up to its terminating NUL.
        const std::string commandLine = ReadWhole(dir + "\\cmdline").c_str();
        if (lstrcmpiA(commandLine.c_str(), windowsProgram.c_str()) == 0) {
            procDir_ = dir;
        }
    });
    return !procDir_.empty() && Nanoseconds() > 0;
}

bool LinuxCpuTime::Attach(unsigned long linuxPid) {
    procDir_ = std::string(kProc) + "\\" + std::to_string(linuxPid);
    return Nanoseconds() > 0;
}

uint64_t LinuxCpuTime::Nanoseconds() const {
    uint64_t total = 0;
    if (procDir_.empty()) {
        return total;
    }
    const std::string tasks = procDir_ + "\\task";
    ForEachNumberedEntry(tasks, [&](const std::string& tid) {
        // "time on the processor, time waiting, timeslices", in nanoseconds.
        total += std::strtoull(ReadWhole(tasks + "\\" + tid + "\\schedstat").c_str(), nullptr, 10);
    });
    return total;
}

} // namespace bench
