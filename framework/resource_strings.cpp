#include "framework/resource_strings.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace fw {

std::string LoadResourceString(UINT id) {
    // A string-table entry holds at most 4097 characters; grow until the text fits.
    std::vector<char> buffer(256);
    for (;;) {
        int length = LoadStringA(GetModuleHandleA(nullptr), id, buffer.data(),
                                 static_cast<int>(buffer.size()));
        if (length <= 0) {
            return {};
        }
        if (static_cast<size_t>(length) + 1 < buffer.size() || buffer.size() >= 8192) {
            return std::string(buffer.data(), static_cast<size_t>(length));
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string FormatText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text;
    if (length > 0) {
        text.resize(static_cast<size_t>(length) + 1);
        std::vsnprintf(text.data(), text.size(), format, args);
        text.resize(static_cast<size_t>(length));
    }
    va_end(args);
    return text;
}

} // namespace fw
