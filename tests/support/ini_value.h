// Reading back a settings file the way the programs read it.
#pragma once

#include <string>

namespace testfs {

// The value of `key` in `section` of the settings file, `missing` when there is none.
std::string IniValue(const std::string& file, const char* section, const char* key,
                     const char* missing = "<missing>");

} // namespace testfs
