// Texts of the program's string table.
#pragma once

#include <windows.h>

#include <string>

namespace fw {

// The string-table entry `id` of the running program, in the ANSI code page; empty when absent.
std::string LoadResourceString(UINT id);

// printf-style formatting into a std::string (no fixed buffer).
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace fw
