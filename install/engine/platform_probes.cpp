#include "install/engine/platform_probes.h"

#include "install/engine/portable/setup_values.h"

#include <windows.h>

namespace korva {

std::uint32_t PlatformFreeBytes(const std::string& root) {
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    if (!GetDiskFreeSpaceA(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                           &clusters)) {
        return 0;
    }
    return FreeBytes32(std::uint64_t{bytesPerSector} * sectorsPerCluster * freeClusters);
}

std::uint32_t PlatformPhysicalMemory() {
    MEMORYSTATUS status{};
    status.dwLength = sizeof status;
    GlobalMemoryStatus(&status);
    return static_cast<std::uint32_t>(status.dwTotalPhys);
}

} // namespace korva
