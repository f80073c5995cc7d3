// Free space on the volume of a directory, for the copy's fault messages, in 64-bit arithmetic.
// The extended call that reports it per caller and beyond 2 GB comes with Windows 95 OSR 2 and
// NT 4.0; it is looked up at run time, and where the system lacks it the free clusters of the
// volume's root are counted instead (the first Windows 95 has only volumes below 2 GB).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace korva {

// Free bytes available to this program on the volume of `dir`; none when the platform cannot
// tell.
std::optional<std::uint64_t> FreeBytesOf(const std::string& dir);

// The two ways, apart. The extended call gives none where the system lacks it.
std::optional<std::uint64_t> FreeBytesFromExtendedCall(const std::string& dir);
std::optional<std::uint64_t> FreeBytesFromClusters(const std::string& dir);

} // namespace korva
