#include "install/engine/cancel_poll.h"

#include "install/engine/copy_progress_dialog.h"

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

namespace {

// Lets the platform take in the input that arrived while files were copied (nothing is
// dispatched), so that the key state is the keyboard's own.
void TakeInInput() {
    GetQueueStatus(QS_INPUT);
}

// The key and button state as it stands.
bool CancelAsked(const CopyProgressDialog* progress) {
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

} // namespace

bool PollCancel(const CopyProgressDialog* progress) {
    TakeInInput();
    return CancelAsked(progress);
}

bool CancelPoll::Check(const CopyProgressDialog* progress) {
    constexpr DWORD kIntervalMs = 10;
    const DWORD now = GetTickCount();
    if (looked_ && now - lookedAt_ < kIntervalMs) {
        return false;
    }
    looked_ = true;
    lookedAt_ = now;
    return PollCancel(progress);
}

} // namespace korva
