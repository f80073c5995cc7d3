// Processor time of a benchmarked program together with Wine's server, over the same interval
// as the program's wall time: under Wine every file opened or window looked at is also work of
// the server, so the program's own time alone would hide most of a run's cost.
#pragma once

#include "linux_cpu_time.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace bench {

class ProcessorClock {
public:
    // The server's Linux process id, as the benchmark script found it; false when unreadable.
    bool WatchServer(unsigned long linuxPid) {
        serverWatched_ = server_.Attach(linuxPid);
        return serverWatched_;
    }
    // Another program, found by the path it was started with; without it, this process.
    bool WatchProgram(const std::string& windowsProgram) {
        programWatched_ = program_.Find(windowsProgram);
        return programWatched_;
    }
    void Start() { startNs_ = Now(); }
    // "cpu_ms <n>" for the time since Start; nothing when the server is not watched, since a
    // figure without it would mislead.
    void Print() const {
        if (serverWatched_) {
            std::printf("cpu_ms %.0f\n", static_cast<double>(Now() - startNs_) / 1e6);
        }
    }

private:
    uint64_t Now() const {
        uint64_t total = serverWatched_ ? server_.Nanoseconds() : 0;
        if (programWatched_) {
            return total + program_.Nanoseconds();
        }
        FILETIME created, exited, kernel, user;
        if (GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) {
            auto ns = [](const FILETIME& t) {
                return ((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) * 100;
            };
            total += ns(kernel) + ns(user);
        }
        return total;
    }

    LinuxCpuTime server_;
    LinuxCpuTime program_;
    bool serverWatched_ = false;
    bool programWatched_ = false;
    uint64_t startNs_ = 0;
};

} // namespace bench
