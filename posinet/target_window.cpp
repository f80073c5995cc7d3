#include "posinet/target_window.h"

namespace {

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK TakeMainWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == search->processId && IsWindowVisible(window) && !GetWindow(window, GW_OWNER)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

DWORD PartnerProcessId(HCONV conversation) {
    CONVINFO info{};
    info.cb = sizeof info;
    if (!conversation || !DdeQueryConvInfo(conversation, QID_SYNC, &info) || !info.hwndPartner) {
        return 0;
    }
    DWORD processId = 0;
    GetWindowThreadProcessId(info.hwndPartner, &processId);
    return processId;
}

HWND MainWindowOfPartner(HCONV conversation) {
    Search search{PartnerProcessId(conversation), nullptr};
    if (search.processId == 0 || search.processId == GetCurrentProcessId()) {
        return nullptr;
    }
    EnumWindows(TakeMainWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
