// Between files the run looks at the keyboard and the mouse: a user who holds Escape, or the
// left button over "Annulla", cancels.
#pragma once

class CopyProgressDialog;

namespace korva {

// True when the user asks to cancel: Escape held, or the left button held over the progress
// window's "Annulla". A cancelling Escape is waited for until it is let go and its key
// messages are taken out of the queue, so that it answers no later window.
bool PollCancel(const CopyProgressDialog* progress);

// The poll as the copy loop makes it after every file. Each look at the keyboard and the
// mouse costs the platform about as much as copying a small file, so after small files it
// looks at most every 10 ms: far less than any key or button is held, and a file that takes
// longer is always followed by a look.
class CancelPoll {
public:
    bool Check(const CopyProgressDialog* progress);

private:
    bool looked_ = false;
    unsigned long lookedAt_ = 0;
};

// Waits until `virtualKey` is released, then takes every key message out of the queue.
void SwallowCancelKey(int virtualKey);

} // namespace korva
