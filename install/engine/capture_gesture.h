// Ctrl + left double click on an installer dialog opens the screen-capture dialog.
#pragma once

#include <windows.h>

namespace korva {

// Handles the gesture when `message` is one; true when it was the gesture.
bool HandleCaptureGesture(HWND dialog, UINT message, WPARAM wParam);

} // namespace korva
