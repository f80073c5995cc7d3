#include "message_boxes.h"

namespace robot {

HWND AnswerMessageBoxes(DWORD processId,
                        const std::function<bool(HWND box, const std::string& text)>& answer,
                        DWORD timeoutMs) {
    return WaitForDialog(
        processId, [&](HWND box) { return answer(box, MessageBoxText(box)); }, timeoutMs);
}

} // namespace robot
