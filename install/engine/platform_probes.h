// The two figures of the machine the installer decides on: free disk space and physical
// memory. They are read through replaceable functions so that tests can give exact values.
#pragma once

#include <cstdint>
#include <string>

namespace korva {

using FreeBytesProbe = std::uint32_t (*)(const std::string& root);
using PhysicalMemoryProbe = std::uint32_t (*)();

struct PlatformProbes {
    FreeBytesProbe freeBytes;
    PhysicalMemoryProbe physicalMemory;
};

// The probes in use; the defaults ask the platform.
PlatformProbes& Probes();
void RestoreDefaultProbes();

// Free bytes of the drive whose root is given ("C:\"), in 32-bit arithmetic.
std::uint32_t GetFreeBytes(const std::string& root);
// Total physical memory in bytes.
std::uint32_t GetPhysicalMemory();

} // namespace korva
