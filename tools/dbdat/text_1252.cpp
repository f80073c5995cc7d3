#include "tools/dbdat/text_1252.h"

#include <cstdint>

namespace korva {

namespace {

// Code points of bytes 0x80-0x9F; 0 where the code page has no character.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::optional<char> ToCp1252(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<char>(c);
    }
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] != 0 && kHighControls[i] == c) {
            return static_cast<char>(0x80 + i);
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> Utf8ToCp1252(std::string_view utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        auto lead = static_cast<std::uint8_t>(utf8[i]);
        int extra = lead < 0x80 ? 0 : (lead >> 5) == 0x6 ? 1 : (lead >> 4) == 0xE ? 2 : -1;
        if (extra < 0 || utf8.size() - i <= static_cast<std::size_t>(extra)) {
            return std::nullopt;
        }
        char32_t c = extra == 0 ? lead : extra == 1 ? (lead & 0x1F) : (lead & 0x0F);
        for (int k = 1; k <= extra; ++k) {
            auto next = static_cast<std::uint8_t>(utf8[i + k]);
            if ((next & 0xC0) != 0x80) {
                return std::nullopt;
            }
            c = (c << 6) | (next & 0x3F);
        }
        // Overlong forms are not UTF-8.
        if ((extra == 1 && c < 0x80) || (extra == 2 && c < 0x800)) {
            return std::nullopt;
        }
        auto byte = ToCp1252(c);
        if (!byte) {
            return std::nullopt;
        }
        out += *byte;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

std::string Cp1252ToUtf8(std::string_view text) {
    std::string out;
    for (char ch : text) {
        auto byte = static_cast<std::uint8_t>(ch);
        char32_t c = byte;
        if (byte >= 0x80 && byte < 0xA0) {
            c = kHighControls[byte - 0x80] ? kHighControls[byte - 0x80] : 0xFFFD;
        }
        AppendUtf8(out, c);
    }
    return out;
}

} // namespace korva
