#include "framework/restart_rename.h"

#include "framework/file_bytes.h"
#include "framework/plain_file.h"
#include "framework/portable/profile_text.h"
#include "framework/wow64.h"

#include <windows.h>

namespace fw {

namespace {

// Far above any restart list.
constexpr std::uint32_t kWininitSizeLimit = 4 * 1024 * 1024;

} // namespace

bool WriteRestartRename(const std::string& wininitPath, const std::string& target,
                        const std::string& replacement) {
    if (StateOfName(wininitPath) == NameState::other) {
        return false;
    }
    WritePrivateProfileStringA("rename", target.c_str(), replacement.c_str(), wininitPath.c_str());
    // Flushes the profile service's copy to the disk (the Windows 95 family keeps it).
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, wininitPath.c_str());
    if (StateOfName(wininitPath) != NameState::plainFile) {
        return false;
    }
    const std::optional<std::vector<std::uint8_t>> bytes =
        ReadWholeFile(wininitPath, kWininitSizeLimit);
    if (!bytes) {
        return false;
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    return ProfileTextHasLine(text, "rename", target, replacement);
}

std::string SystemDirectoryForRestart() {
    const std::string wow64 = Wow64SystemDirectory();
    if (!wow64.empty()) {
        return wow64;
    }
    char path[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(path, sizeof path);
    return length > 0 && length < sizeof path ? std::string(path, length) : std::string();
}

} // namespace fw
