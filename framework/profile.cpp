#include "framework/profile.h"

#include <windows.h>

#include <vector>

namespace fw {

std::string ReadProfileString(const std::string& file, const char* section, const char* key,
                              const char* defaultValue, unsigned bufferSize) {
    std::vector<char> buffer(bufferSize + 1, '\0');
    DWORD length = GetPrivateProfileStringA(section, key, defaultValue, buffer.data(), bufferSize,
                                            file.c_str());
    return std::string(buffer.data(), length);
}

void WriteProfileText(const std::string& file, const char* section, const char* key,
                      const std::string& value) {
    WritePrivateProfileStringA(section, key, value.c_str(), file.c_str());
}

} // namespace fw
