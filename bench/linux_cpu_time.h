// Processor time of another Wine process, to the nanosecond. Wine gives another process's
// times only per thread and in the kernel's 10-ms clock ticks, too coarse for a cycle that
// costs posinet a fraction of a millisecond; the kernel's scheduler statistics, read through
// Wine's Z: drive, count nanoseconds. Benchmarks only: this is Linux under Wine.
#pragma once

#include <cstdint>
#include <string>

namespace bench {

class LinuxCpuTime {
public:
    // Finds the Linux process whose command line is `windowsProgram` (the path the program
    // was started with). False when there is none or /proc cannot be read.
    bool Find(const std::string& windowsProgram);
    // Takes the Linux process `linuxPid` (Wine's server, say). False when it cannot be read.
    bool Attach(unsigned long linuxPid);
    // Time on a processor of all the process's threads so far, in nanoseconds.
    uint64_t Nanoseconds() const;

private:
    std::string procDir_; // "Z:\proc\<pid>"
};

} // namespace bench
