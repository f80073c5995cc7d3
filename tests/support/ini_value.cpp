#include "ini_value.h"

#include <windows.h>

namespace testfs {

std::string IniValue(const std::string& file, const char* section, const char* key,
                     const char* missing) {
    char value[1024] = {};
    GetPrivateProfileStringA(section, key, missing, value, sizeof value, file.c_str());
    return value;
}

} // namespace testfs
