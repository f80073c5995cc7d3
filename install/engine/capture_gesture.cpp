#include "capture_gesture.h"

namespace korva {

bool HandleCaptureGesture(HWND, UINT message, WPARAM wParam) {
    // The screen-capture dialog is not part of the installer yet: the gesture is recognised
    // and ignored.
    return message == WM_LBUTTONDBLCLK && (wParam & MK_CONTROL) != 0;
}

} // namespace korva
