#include "message_boxes.h"

namespace robot {

HWND AnswerMessageBoxes(DWORD processId,
                        const std::function<bool(HWND box, const std::string& text)>& answer,
                        DWORD timeoutMs) {
    HWND found = nullptr;
    WindowQuery boxes;
    boxes.processId = processId;
    boxes.className = "#32770";
    WaitUntil(
        [&] {
            for (HWND window : FindWindows(boxes)) {
                if (answer(window, MessageBoxText(window))) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

} // namespace robot
