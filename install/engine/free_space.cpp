#include "install/engine/free_space.h"

#include "install/shared/portable/paths.h"

#include <windows.h>

namespace korva {

namespace {

using ExtendedFreeSpace = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);

// The system's GetDiskFreeSpaceExA, or null where it has none. Importing it would keep the
// programs from loading on the first Windows 95.
ExtendedFreeSpace ExtendedCall() {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    return kernel ? reinterpret_cast<ExtendedFreeSpace>(
                        reinterpret_cast<void*>(GetProcAddress(kernel, "GetDiskFreeSpaceExA")))
                  : nullptr;
}

} // namespace

std::optional<std::uint64_t> FreeBytesFromExtendedCall(const std::string& dir) {
    const ExtendedFreeSpace call = ExtendedCall();
    ULARGE_INTEGER free{};
    if (!call || !call(dir.c_str(), &free, nullptr, nullptr)) {
        return std::nullopt;
    }
    return free.QuadPart;
}

std::optional<std::uint64_t> FreeBytesFromClusters(const std::string& dir) {
    // The cluster call takes only the root of a volume.
    const std::string root = VolumeRootOf(dir);
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    if (!GetDiskFreeSpaceA(root.empty() ? nullptr : root.c_str(), &sectorsPerCluster,
                           &bytesPerSector, &freeClusters, &clusters)) {
        return std::nullopt;
    }
    return std::uint64_t{sectorsPerCluster} * bytesPerSector * freeClusters;
}

std::optional<std::uint64_t> FreeBytesOf(const std::string& dir) {
    return ExtendedCall() ? FreeBytesFromExtendedCall(dir) : FreeBytesFromClusters(dir);
}

} // namespace korva
