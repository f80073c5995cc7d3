#include "tests/support/fault_checks.h"

#include "message_boxes.h"
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
    robot::AnswerMessageBoxes(
        processId,
        [&](HWND box, const std::string& text) {
            if (text.rfind("L'installazione", 0) == 0 ||
                text.find("nessuna cartina") != std::string::npos) {
                final = text;
                robot::Click(box, IDOK);
                robot::WaitForWindowGone(box);
                return true;
            }
            if (text.rfind("Creazione dell'icona", 0) == 0) {
                robot::Click(box, IDNO);
                robot::WaitForWindowGone(box);
            } else if (GetDlgItem(box, IDIGNORE)) {
                robot::Click(box, IDIGNORE);
                robot::WaitForWindowGone(box);
            }
            return false;
        },
        timeoutMs);
    return final.empty() ? "<no final message>" : final;
}

} // namespace e2e
