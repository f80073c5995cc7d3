// Reading a settings file's text as the platform's profile service reads it: to check that a
// line really reached the disk (the service keeps its own copy of a file, and that copy says a
// line is there even when the file could not be written), and to read a file that is not on
// this system (a disc image's).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace fw {

// True when the INI text holds, in section `section`, a line `key`=`value`. Section, key and
// value are compared without regard to case (ASCII letters), blanks around them are passed
// over, and a section may appear more than once.
bool ProfileTextHasLine(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value);

// The value of `key` in the first section named `section` of the INI text, without the blanks
// around it and without one pair of quotes around it; nothing when the section or the key is
// absent. Names are compared without regard to case, the first match wins.
std::optional<std::string> ProfileTextValue(std::string_view text, std::string_view section,
                                            std::string_view key);

} // namespace fw
