// What must hold after any installation that went wrong: the files present are intact, the
// settings files are well-formed, and a second installation completes.
#pragma once

#include <string>

namespace e2e {

// Problems of an INI file written by the installer ("" when well-formed): every line a
// section header or a key=value pair, no control characters.
std::string IniProblems(const std::string& path);

// Answers whatever the installer asks until its final message, the way a user who wants to
// get on would: Ignore at a space question, No to the program group. Returns the final text.
std::string AnswerUntilFinalMessage(unsigned long processId, unsigned long timeoutMs = 60000);

} // namespace e2e
