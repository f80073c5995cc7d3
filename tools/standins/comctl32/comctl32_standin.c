/* Stand-in for a current common-controls library: it answers DllGetVersion, which is how the
   programs tell a current library from an old one. Carried by ctlupdate when no licensed
   library is configured. */
#include <windows.h>

typedef struct {
    DWORD cbSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformID;
} StandinDllVersionInfo;

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}

__declspec(dllexport) HRESULT WINAPI DllGetVersion(StandinDllVersionInfo* info) {
    if (!info || info->cbSize < sizeof(StandinDllVersionInfo)) {
        return E_INVALIDARG;
    }
    info->dwMajorVersion = 4;
    info->dwMinorVersion = 72;
    info->dwBuildNumber = 3110;
    info->dwPlatformID = 1; /* Windows */
    return S_OK;
}

__declspec(dllexport) void WINAPI InitCommonControls(void) {}
