// The two figures of the machine the installer decides on: free disk space and physical
// memory. The engine is given them as functions, so that tests can give exact values.
#pragma once

#include <cstdint>
#include <string>

namespace korva {

// Free bytes of the drive whose root is given ("C:\\"), as the platform reports its clusters;
// above 32 bits the largest 32-bit figure.
std::uint32_t PlatformFreeBytes(const std::string& root);
// Total physical memory in bytes, as the platform reports it.
std::uint32_t PlatformPhysicalMemory();

using FreeBytesProbe = std::uint32_t (*)(const std::string& root);
using PhysicalMemoryProbe = std::uint32_t (*)();

// Where the figures come from: the platform unless told otherwise.
struct PlatformProbes {
    FreeBytesProbe freeBytes = PlatformFreeBytes;
    PhysicalMemoryProbe physicalMemory = PlatformPhysicalMemory;
};

} // namespace korva
