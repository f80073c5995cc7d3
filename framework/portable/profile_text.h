// Reading a settings file's text as the platform's profile service writes it, to check that a
// line really reached the disk: the service keeps its own copy of a file, and that copy says a
// line is there even when the file could not be written.
#pragma once

#include <string_view>

namespace fw {

// True when the INI text holds, in section `section`, a line `key`=`value`. Section, key and
// value are compared without regard to case (ASCII letters), blanks around them are passed
// over, and a section may appear more than once.
bool ProfileTextHasLine(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value);

} // namespace fw
