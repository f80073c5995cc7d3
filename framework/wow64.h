// A 32-bit program on 64-bit Windows (WoW64): the platform shows it the 32-bit system
// directory under the name "system32" and gives it the "(x86)" program folders, while the rest
// of the system, the restart among it, sees the 64-bit ones under those names. The functions
// that tell are newer than Windows 95 and are looked up when needed.
#pragma once

#include <windows.h>

#include <string>

namespace fw {

// True when this program runs under WoW64.
bool RunsUnderWow64();

// The 32-bit system directory by the name the 64-bit system gives it ("C:\Windows\SysWOW64");
// "" when this program does not run under WoW64.
std::string Wow64SystemDirectory();

// For its lifetime, this thread sees the file system as a 64-bit program does: "system32" is
// the 64-bit system directory. Does nothing outside WoW64.
class ScopedNativeFileSystem {
public:
    ScopedNativeFileSystem();
    ~ScopedNativeFileSystem();
    ScopedNativeFileSystem(const ScopedNativeFileSystem&) = delete;
    ScopedNativeFileSystem& operator=(const ScopedNativeFileSystem&) = delete;

private:
    void* previous_ = nullptr;
    bool disabled_ = false;
};

} // namespace fw
