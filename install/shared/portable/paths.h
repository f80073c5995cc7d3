// Fixed 260-character path fields and the operations on them. Every copy into a field is
// bounded: a text that does not fit is refused, never cut or overflowed.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace korva {

constexpr std::size_t kPathSize = 260;
using PathField = char[kPathSize];

// Copies `text` into a fixed field of N characters (terminator included). Returns false and
// leaves the field empty when the text is too long.
template <std::size_t N> bool CopyToField(char (&field)[N], std::string_view text) {
    if (text.size() >= N) {
        field[0] = '\0';
        return false;
    }
    std::memcpy(field, text.data(), text.size());
    field[text.size()] = '\0';
    return true;
}

// "%s\%s": two parts joined by a single backslash.
std::string JoinPath(std::string_view directory, std::string_view name);

// Drops one trailing backslash and upper-cases a lower-case drive letter ("c:\korva\" ->
// "C:\korva").
std::string NormalizePath(std::string_view path);

// The directories to create, from the root down, for `path` to exist: "C:\a\b" gives "C:\a"
// and "C:\a\b"; a network path begins below its share ("\\server\share\a" gives
// "\\server\share\a"). A drive or share root gives none. Empty parts ("a\\b", a trailing
// backslash) are passed over; "/" separates like "\".
std::vector<std::string> DirectoryLevels(std::string_view path);

// The directory of a program file: its full path cut at its last backslash ("E:\cd\install.exe"
// gives "E:\cd").
std::string DirectoryOfModule(std::string_view modulePath);

// True when the path begins with a drive letter and a colon.
bool HasDriveLetter(std::string_view path);

// The root "X:\" of the drive named by the path's first character.
std::string DriveRootOf(std::string_view path);

// The root of the volume a path lies on, as the platform's free-space calls take it, always
// with its closing backslash: "C:\" for "C:\a\b" or "C:a", "\\server\share\" for
// "\\server\share\a", "\" for "\a" (the current drive). Empty for a relative path: the
// current directory's volume.
std::string VolumeRootOf(std::string_view path);

} // namespace korva
