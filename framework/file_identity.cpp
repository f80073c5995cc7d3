#include "framework/file_identity.h"

#include "framework/file_probe.h"
#include "framework/handles.h"

#include <vector>

namespace fw {

namespace {

using FinalPathFunction = DWORD(WINAPI*)(HANDLE, LPSTR, DWORD, DWORD);
using LongPathFunction = DWORD(WINAPI*)(LPCSTR, LPSTR, DWORD);

// Newer functions of kernel32, looked up once: the programs load on systems that lack them.
template <typename Function> Function Kernel32Function(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), name)));
}

FinalPathFunction FinalPathService() {
    static const FinalPathFunction function =
        Kernel32Function<FinalPathFunction>("GetFinalPathNameByHandleA");
    return function;
}

// "\\?\C:\x" -> "C:\x", "\\?\UNC\server\share\x" -> "\\server\share\x"; other forms (a volume
// without a drive letter) stay as they are, so that they compare equal only to themselves.
std::string WithoutLongPrefix(const std::string& path) {
    if (path.rfind("\\\\?\\UNC\\", 0) == 0) {
        return path.substr(7).insert(0, 1, '\\'); // "\\server\share..."
    }
    if (path.rfind("\\\\?\\", 0) == 0 && path.size() >= 6 && path[5] == ':') {
        return path.substr(4);
    }
    return path;
}

std::string FinalPathOf(HANDLE file) {
    FinalPathFunction finalPath = FinalPathService();
    if (!finalPath) {
        return "";
    }
    std::vector<char> buffer(2 * MAX_PATH, '\0');
    const DWORD length = finalPath(file, buffer.data(), static_cast<DWORD>(buffer.size()), 0);
    if (length == 0 || length >= buffer.size()) {
        return "";
    }
    return WithoutLongPrefix(std::string(buffer.data(), length));
}

} // namespace

HandleFacts FactsOfHandle(HANDLE file) {
    HandleFacts facts;
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(file, &info)) {
        return facts;
    }
    facts.opened = true;
    facts.attributes = info.dwFileAttributes;
    facts.volume = info.dwVolumeSerialNumber;
    facts.index = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    facts.finalPath = FinalPathOf(file);
    return facts;
}

HandleFacts FactsOf(const std::string& path) {
    // Backup semantics opens directories too, where the platform allows it.
    UniqueFileHandle file(CreateFileA(path.c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file) {
        return {};
    }
    return FactsOfHandle(file.Get());
}

bool TellsFinalPaths() {
    return FinalPathService() != nullptr;
}

std::string LongFullPathOf(const std::string& path) {
    const std::string full = FullPathOf(path);
    static const LongPathFunction longPath = Kernel32Function<LongPathFunction>("GetLongPathNameA");
    if (full.empty() || !longPath) {
        return full;
    }
    char buffer[MAX_PATH] = {};
    const DWORD length = longPath(full.c_str(), buffer, sizeof buffer);
    return length > 0 && length < sizeof buffer ? std::string(buffer, length) : full;
}

bool FinalPathIs(const HandleFacts& facts, const std::string& path) {
    if (facts.finalPath.empty()) {
        return false;
    }
    const std::string place = LongFullPathOf(path);
    return !place.empty() && lstrcmpiA(place.c_str(), facts.finalPath.c_str()) == 0;
}

} // namespace fw
