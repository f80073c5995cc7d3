// Key-by-key access to INI settings files through the platform's profile-file service.
#pragma once

#include <string>

namespace fw {

// Reads `key` of `section` with a default, as a buffer of `bufferSize` characters would hold
// it (at most bufferSize - 1 characters). A missing file or key gives the default.
std::string ReadProfileString(const std::string& file, const char* section, const char* key,
                              const char* defaultValue, unsigned bufferSize);

// Writes one key; the result is not checked, as for every settings write of the programs.
void WriteProfileText(const std::string& file, const char* section, const char* key,
                      const std::string& value);

} // namespace fw
