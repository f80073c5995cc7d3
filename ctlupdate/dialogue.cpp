#include "ctlupdate/dialogue.h"

#include "ctlupdate/updater.h"
#include "framework/resource_strings.h"
#include "resources/ctlupdate/resource.h"

#include <windows.h>

namespace korva {

namespace {

// A message box with no owner window, captioned with the updater's title.
int Show(UINT textId, UINT type) {
    return MessageBoxA(nullptr, fw::LoadResourceString(textId).c_str(),
                       fw::LoadResourceString(IDS_CAPTION).c_str(), type);
}

bool IsWindows95Family() {
    return (GetVersion() & 0x80000000u) != 0;
}

} // namespace

void RunUpdateDialogue() {
    if (!IsWindows95Family()) {
        Show(IDS_ONLY_WINDOWS_95, MB_OK);
        return;
    }
    if (Show(IDS_ASK_CONTINUE, MB_YESNO) != IDYES) {
        return;
    }
    if (IsLibraryCurrent()) {
        Show(IDS_NOT_NEEDED, MB_OK);
        return;
    }
    if (Show(IDS_ASK_PROCEED, MB_YESNO) != IDYES) {
        return;
    }
    Show(UpdateLibrary() ? IDS_DONE : IDS_FAILED, MB_OK);
}

} // namespace korva
