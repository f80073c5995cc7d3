// Between files the run looks at the keyboard and the mouse: a user who holds Escape, or the
// left button over "Annulla", cancels.
#pragma once

class CopyProgressDialog;

namespace korva {

// True when the user asks to cancel: Escape held, or the left button held over the progress
// window's "Annulla". A cancelling Escape is waited for until it is let go and its key
// messages are taken out of the queue, so that it answers no later window.
bool PollCancel(const CopyProgressDialog* progress);

// The poll as the copy loop makes it after every file. Taking in the input that arrived
// while files were copied costs a call to the platform's server, as much as a small file's
// copy: it is done at most every few milliseconds, far more often than a key is held.
class CancelPoll {
public:
    bool Check(const CopyProgressDialog* progress);

private:
    bool inputTaken_ = false;
    unsigned long inputTakenAt_ = 0;
};

// Waits until `virtualKey` is released, then takes every key message out of the queue.
void SwallowCancelKey(int virtualKey);

} // namespace korva
