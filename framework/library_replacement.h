// A system library put in place at the next restart, as the installer and ctlupdate both do it
// for the common-controls library: whether the library is too old, what a carried copy holds,
// and the restart instruction, written only for a replacement that is what it should be.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace fw {

// True when "COMCTL32.DLL" loads and does not export "DllGetVersion": too old for the product.
// A library that cannot be loaded at all does not count as too old.
bool CommonControlsTooOld();

// The library a file carries: the file's own bytes, or their expansion when they are
// SZDD-compressed (the version installation expands such a file as it copies it). None when
// the compressed data do not expand.
std::optional<std::vector<std::uint8_t>> LibraryCarriedIn(std::span<const std::uint8_t> file);

// Schedules `replacement` to be put in place of `library` at the next restart, with a line in
// section "rename" of `wininitPath` that is read back from the disk: only when `replacement` is
// a plain file at its place (not a link, which the restart would follow) holding exactly
// `expected`. False when nothing was scheduled; what the caller wrote is then its to delete.
bool ScheduleReplacement(const std::string& wininitPath, const std::string& library,
                         const std::string& replacement, std::span<const std::uint8_t> expected);

} // namespace fw
