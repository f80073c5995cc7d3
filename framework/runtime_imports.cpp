// Imports of the static C++ runtime given by the programs themselves, so that they work on the
// Windows 95 family.
//
// The runtime's locks (libgcc: exception frame tables, emulated thread-local storage) create
// their semaphores with CreateSemaphoreW. Windows 95 exports it only as a stub that fails, which
// would leave each lock without its semaphore. The import slot the runtime calls through is
// defined here and leads to CreateSemaphoreA, which every system implements; the linker then
// takes no CreateSemaphoreW from kernel32. This file is linked as an object into each program.
#include <windows.h>

namespace {

HANDLE WINAPI CreateSemaphoreThroughAnsi(LPSECURITY_ATTRIBUTES attributes, LONG initialCount,
                                         LONG maximumCount, LPCWSTR name) {
    if (!name) {
        return CreateSemaphoreA(attributes, initialCount, maximumCount, nullptr);
    }
    char narrowName[MAX_PATH];
    if (!WideCharToMultiByte(CP_ACP, 0, name, -1, narrowName, sizeof narrowName, nullptr,
                             nullptr)) {
        return nullptr; // the conversion's error (a name too long) stays the last error
    }
    return CreateSemaphoreA(attributes, initialCount, maximumCount, narrowName);
}

} // namespace

// The symbol of an import slot: decorated on 32-bit x86, plain on x86-64.
#if defined(__i386__)
#define KORVA_IMPORT_SLOT(name, argumentBytes) "__imp__" #name "@" #argumentBytes
#else
#define KORVA_IMPORT_SLOT(name, argumentBytes) "__imp_" #name
#endif

extern "C" {
decltype(&CreateSemaphoreW) korva_CreateSemaphoreW_slot __asm__(
    KORVA_IMPORT_SLOT(CreateSemaphoreW, 16)) = CreateSemaphoreThroughAnsi;
}
