// Values of INI text as the platform's profile-file reader finds them: sections and keys
// without regard to case, blanks around names and values dropped, the first match winning.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace mkcd {

// The value of `key` in `section` of `text`; nothing when the section or key is absent.
std::optional<std::string> IniValue(std::string_view text, std::string_view section,
                                    std::string_view key);

// Whether `text` holds the section at all.
bool IniHasSection(std::string_view text, std::string_view section);

} // namespace mkcd
