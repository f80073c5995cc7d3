#include "framework/wow64.h"

namespace fw {

namespace {

template <typename Function> Function Kernel32Function(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), name)));
}

} // namespace

bool RunsUnderWow64() {
    using IsWow64Function = BOOL(WINAPI*)(HANDLE, PBOOL);
    static const IsWow64Function isWow64 = Kernel32Function<IsWow64Function>("IsWow64Process");
    BOOL wow64 = FALSE;
    return isWow64 && isWow64(GetCurrentProcess(), &wow64) && wow64;
}

std::string Wow64SystemDirectory() {
    using DirectoryFunction = UINT(WINAPI*)(LPSTR, UINT);
    static const DirectoryFunction directory =
        Kernel32Function<DirectoryFunction>("GetSystemWow64DirectoryA");
    if (!directory || !RunsUnderWow64()) {
        return "";
    }
    char path[MAX_PATH] = {};
    const UINT length = directory(path, sizeof path);
    return length > 0 && length < sizeof path ? std::string(path, length) : std::string();
}

ScopedNativeFileSystem::ScopedNativeFileSystem() {
    using DisableFunction = BOOL(WINAPI*)(PVOID*);
    static const DisableFunction disable =
        Kernel32Function<DisableFunction>("Wow64DisableWow64FsRedirection");
    disabled_ = disable && RunsUnderWow64() && disable(&previous_);
}

ScopedNativeFileSystem::~ScopedNativeFileSystem() {
    using RevertFunction = BOOL(WINAPI*)(PVOID);
    static const RevertFunction revert =
        Kernel32Function<RevertFunction>("Wow64RevertWow64FsRedirection");
    if (disabled_ && revert) {
        revert(previous_);
    }
}

} // namespace fw
