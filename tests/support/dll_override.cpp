#include "dll_override.h"

#include <windows.h>

namespace winetest {

namespace {
const std::string kAppDefaults = "Software\\Wine\\AppDefaults\\";
} // namespace

bool SetDllOverride(const std::string& programFileName, const std::string& library,
                    const std::string& loadOrder) {
    HKEY key = nullptr;
    std::string path = kAppDefaults + programFileName + "\\DllOverrides";
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    LONG result = RegSetValueExA(key, library.c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(loadOrder.c_str()),
                                 static_cast<DWORD>(loadOrder.size() + 1));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

void ClearDllOverrides(const std::string& programFileName) {
    RegDeleteKeyA(HKEY_CURRENT_USER, (kAppDefaults + programFileName + "\\DllOverrides").c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, (kAppDefaults + programFileName).c_str());
}

} // namespace winetest
