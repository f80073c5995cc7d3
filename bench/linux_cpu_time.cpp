#include "linux_cpu_time.h"

#include "framework/handles.h"

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

template <typename Visit> void ForEachEntry(const std::string& dir, Visit visit) {
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        if (entry.cFileName[0] >= '0' && entry.cFileName[0] <= '9') {
            visit(std::string(entry.cFileName));
        }
    } while (FindNextFileA(find, &entry));
    FindClose(find);
}

} // namespace

bool LinuxCpuTime::Find(const std::string& windowsProgram) {
    procDir_.clear();
    ForEachEntry(kProc, [&](const std::string& pid) {
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

uint64_t LinuxCpuTime::Nanoseconds() const {
    uint64_t total = 0;
    if (procDir_.empty()) {
        return total;
    }
    const std::string tasks = procDir_ + "\\task";
    ForEachEntry(tasks, [&](const std::string& tid) {
        // "time on the processor, time waiting, timeslices", in nanoseconds.
        total += std::strtoull(ReadWhole(tasks + "\\" + tid + "\\schedstat").c_str(), nullptr, 10);
    });
    return total;
}

} // namespace bench
