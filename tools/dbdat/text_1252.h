// Conversions between UTF-8 (the host's terminal and command line) and Windows-1252 (the texts
// of the CD and of the programs).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace korva {

// nullopt when `utf8` is not valid UTF-8 or holds a character Windows-1252 lacks.
std::optional<std::string> Utf8ToCp1252(std::string_view utf8);
// Bytes that Windows-1252 leaves undefined become U+FFFD.
std::string Cp1252ToUtf8(std::string_view text);

} // namespace korva
