/* Stand-in for an old common-controls library, as the first Windows 95 release shipped it:
   it has the library's entry points but no DllGetVersion. Tests place it beside a program
   and let Wine load it instead of its own library (DLL override comctl32=n). */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}

__declspec(dllexport) void WINAPI InitCommonControls(void) {}
