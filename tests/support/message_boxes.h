// Answering the message boxes a program shows, in whatever order they come.
#pragma once

#include "robot.h"

#include <windows.h>

#include <functional>
#include <string>

namespace robot {

// Goes through the process's message boxes until `answer` returns true for one (it may click
// the others on the way); returns that box, nullptr when none did within the time.
HWND AnswerMessageBoxes(DWORD processId,
                        const std::function<bool(HWND box, const std::string& text)>& answer,
                        DWORD timeoutMs = kDefaultTimeoutMs);

} // namespace robot
