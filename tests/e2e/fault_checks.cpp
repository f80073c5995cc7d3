#include "fault_checks.h"

#include "robot.h"
#include "scratch.h"

namespace e2e {

std::string IniProblems(const std::string& path) {
    if (!testfs::Exists(path)) {
        return "missing " + path;
    }
    int number = 0;
    for (const std::string& line : testfs::ReadLines(path)) {
        ++number;
        for (unsigned char c : line) {
            if (c < 0x20 && c != '\t') {
                return "control character on line " + std::to_string(number);
            }
        }
        const bool section = !line.empty() && line.front() == '[' && line.back() == ']';
        if (!line.empty() && !section && line.find('=') == std::string::npos) {
            return "line " + std::to_string(number) + " is neither a section nor a key: " + line;
        }
    }
    return "";
}

std::string AnswerUntilFinalMessage(unsigned long processId, unsigned long timeoutMs) {
    std::string final;
    robot::WindowQuery boxes;
    boxes.processId = processId;
    boxes.className = "#32770";
    robot::WaitUntil(
        [&] {
            for (HWND window : robot::FindWindows(boxes)) {
                const std::string text = robot::MessageBoxText(window);
                if (text.rfind("L'installazione", 0) == 0 ||
                    text.find("nessuna cartina") != std::string::npos) {
                    final = text;
                    robot::Click(window, IDOK);
                    robot::WaitForWindowGone(window);
                    return true;
                }
                if (text.rfind("Creazione dell'icona", 0) == 0) {
                    robot::Click(window, IDNO);
                    robot::WaitForWindowGone(window);
                } else if (GetDlgItem(window, IDIGNORE)) {
                    robot::Click(window, IDIGNORE);
                    robot::WaitForWindowGone(window);
                }
            }
            return false;
        },
        timeoutMs);
    return final.empty() ? "<no final message>" : final;
}

} // namespace e2e
