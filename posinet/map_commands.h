// The commands posinet addresses to the map program's window, "Vai a punto" and "Segui
// elemento": each asks the user in a dialog, then sends one block in WM_COPYDATA.
#pragma once

#include "posinet/portable/element_table.h"
#include "posinet/portable/records.h"

#include <windows.h>

struct DialogColors;

class MapCommands {
public:
    // The map program's window, as a client that asked for data showed it.
    void RecordTarget(HWND window) { targetWindow_ = window; }
    // This program's main window, recorded at every tick; it goes with each command.
    void RecordSender(HWND window) { senderWindow_ = window; }

    // Go to point: the point typed in the dialog (owned by `owner`, painted in `colors`).
    // Nothing, not even the dialog, while no target window is known.
    void GotoPoint(HWND owner, const DialogColors* colors);
    // Follow element: the element chosen in the dialog, with its current position.
    void FollowElement(HWND owner, const DialogColors* colors, const korva::ElementState* elements,
                       int elementCount);

private:
    bool HasTarget() const;
    // Sends a command block to the target window in WM_COPYDATA.
    void SendCommandBlock(const korva::GotoPointBlock& block);

    // None until a client shows it; the commands do nothing meanwhile.
    HWND targetWindow_ = nullptr;
    HWND senderWindow_ = nullptr;
};
