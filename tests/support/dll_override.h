// Wine's per-program DLL overrides (HKCU\Software\Wine\AppDefaults\<program>\DllOverrides):
// tests let one program load a stand-in library placed beside it instead of Wine's own.
// Wine reads WINEDLLOVERRIDES from the Unix environment only, so a test program cannot pass
// an override to the programs it starts through their Windows environment.
#pragma once

#include <string>

namespace winetest {

// How the program's loader treats `library`: "native" (the stand-in beside the program),
// "builtin", or "" (disabled: the library cannot be loaded).
bool SetDllOverride(const std::string& programFileName, const std::string& library,
                    const std::string& loadOrder);
// Removes every override of the program.
void ClearDllOverrides(const std::string& programFileName);

// Removes the program's overrides when the scope ends, so that none outlives a test.
class ScopedDllOverrides {
public:
    explicit ScopedDllOverrides(std::string programFileName)
        : program_(std::move(programFileName)) {
        ClearDllOverrides(program_);
    }
    ScopedDllOverrides(const ScopedDllOverrides&) = delete;
    ScopedDllOverrides& operator=(const ScopedDllOverrides&) = delete;
    ~ScopedDllOverrides() { ClearDllOverrides(program_); }

    bool Set(const std::string& library, const std::string& loadOrder) {
        return SetDllOverride(program_, library, loadOrder);
    }

private:
    std::string program_;
};

} // namespace winetest
