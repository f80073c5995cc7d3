// Numbers read from the CD's description files and what the run computes from them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korva {

// An unsigned decimal number at the start of the text, as a "%lu" conversion reads it:
// leading blanks skipped, 0 when there is none, the largest value when it does not fit.
std::uint32_t ParseUnsignedValue(std::string_view text);
// A signed decimal number as "%d" reads it; 0 when there is none.
std::int32_t ParseSignedValue(std::string_view text);

// Bytes needed on the destination for an install type; 32-bit arithmetic, as the run does it.
std::uint32_t SpaceNeeded(int installType, std::uint32_t netMegabytes,
                          std::uint32_t bitmapMegabytes);

// Free bytes as the run's 32-bit figure: a volume with more free space than 32 bits hold counts
// as the largest figure, never as what is left over 4 GB (a nearly empty large disk would look
// full and the user would be told there is no room).
std::uint32_t FreeBytes32(std::uint64_t freeBytes);

// Directories of the CD that are not map areas.
bool IsExcludedAreaName(std::string_view name);

// The names of a comma-separated file list ("korva.exe,posinet.exe,korva.hlp").
std::vector<std::string> SplitFileList(std::string_view list);

// The map files of an area: with compensation data five, otherwise three, in copy order.
std::vector<std::string> MapFilesToCopy(std::string_view area, bool compensation);
// The same files as the size list of the group ("%s.vgr,%s.are,%s.map[,%s.cmp,%s.cm1]").
std::string MapFileSizeList(std::string_view area, bool compensation);

} // namespace korva
