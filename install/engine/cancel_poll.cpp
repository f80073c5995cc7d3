#include "cancel_poll.h"

#include "copy_progress_dialog.h"

namespace korva {

namespace {

void TakeOutKeyMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE | PM_NOYIELD)) {
    }
}

} // namespace

void SwallowCancelKey(int virtualKey) {
    // A held key repeats: its messages keep coming until it is let go. Those already queued
    // would otherwise answer the next window shown.
    for (;;) {
        TakeOutKeyMessages();
        if (!(GetAsyncKeyState(virtualKey) & 0x8000)) {
            break;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_KEY);
    }
    TakeOutKeyMessages();
}

bool PollCancel(const CopyProgressDialog* progress) {
    // Lets the platform take in the input that arrived while files were copied (nothing is
    // dispatched), so that the key state is the keyboard's own.
    GetQueueStatus(QS_INPUT);
    if (GetAsyncKeyState(VK_ESCAPE) & 0x8000) {
        SwallowCancelKey(VK_ESCAPE);
        return true;
    }
    if (!(GetAsyncKeyState(VK_LBUTTON) & 0x8000) || !progress) {
        return false;
    }
    RECT button;
    POINT cursor;
    if (!progress->CancelButtonRect(button) || !GetCursorPos(&cursor)) {
        return false;
    }
    // Edges included.
    return cursor.x >= button.left && cursor.x <= button.right && cursor.y >= button.top &&
           cursor.y <= button.bottom;
}

} // namespace korva
