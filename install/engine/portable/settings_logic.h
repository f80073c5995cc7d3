// Values the installer writes into the settings files: the list of installed map sets, the
// database memory pairs of a map-set file and the map program's recent-file list.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace korva {

// The list "name1,name2." holds at most this many characters.
constexpr std::size_t kMapSetListLimit = 499;

// A map set's name: the setup description's "Cartine" value up to its first ".".
std::string MapSetName(std::string_view cartineValue);

// The installed list with one more map set appended ("old,name."). A list that would not
// fit in kMapSetListLimit characters is left as it was.
std::string AppendMapSetList(std::string_view oldList, std::string_view mapSetName);

// Physical memory above which the database memory settings are enlarged.
constexpr std::uint32_t kLargeMemoryThreshold = 33500000u;
// The default of a missing memory pair.
constexpr const char* kDefaultMemoryPair = "3000000, 6000000";
// The ten memory keys of a map-set file's "DB_SETTINGS", in the order they are scaled.
extern const std::array<const char*, 10> kDbMemoryKeys;

// "first,second" with the second number one and a half times larger, written "%lu,%lu".
// A value that does not hold two numbers is treated as the default pair.
std::string ScaleMemoryPair(std::string_view value);

// The recent-file list after `newest` is pushed on top: File1 takes it, the rest move down
// and the former File4 is dropped.
using RecentFiles = std::array<std::string, 4>;
void PushRecentFile(RecentFiles& files, std::string_view newest);

// Percentage of a file group: done × 100 / total, truncated (0 for an empty total).
long ProgressPercent(std::uint32_t done, std::uint32_t total);
// Right end, in the frame's client coordinates, of the bar for a percentage.
int ProgressBarEnd(int clientRight, long percent);

} // namespace korva
