#include "posinet/portable/coordinate.h"

#include <cstdio>
#include <cstring>

namespace korva {

namespace {

bool IsCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// One "%lu" conversion at `text`: white space, an optional sign, then decimal digits. Leaves
// `field` untouched when there are no digits, as a failed conversion does.
void ReadUnsignedField(const char* text, uint32_t& field) {
    while (IsCSpace(*text)) {
        ++text;
    }
    bool negative = false;
    if (*text == '+' || *text == '-') {
        negative = *text == '-';
        ++text;
    }
    if (*text < '0' || *text > '9') {
        return;
    }
    uint32_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10u + static_cast<uint32_t>(*text - '0');
    }
    field = negative ? 0u - value : value;
}

} // namespace

int32_t ParseCoordinate(const char* text) {
    uint32_t degrees = 0;
    uint32_t minutes = 0;
    uint32_t seconds = 0;
    uint32_t thousandths = 0;
    if (!text) {
        return 0;
    }
    ReadUnsignedField(text, degrees);
    const char* dot = std::strchr(text, '.');
    if (dot) {
        ReadUnsignedField(dot + 1, minutes);
        dot = std::strchr(dot + 1, '.');
    }
    if (dot) {
        ReadUnsignedField(dot + 1, seconds);
        dot = std::strchr(dot + 1, '.');
    }
    if (dot) {
        ReadUnsignedField(dot + 1, thousandths);
    }
    const uint32_t sum = thousandths + 1000u * seconds + 60000u * minutes + 3600000u * degrees;
    return static_cast<int32_t>(sum);
}

std::string FormatCoordinate(int32_t value) {
    // Work in 64 bits so that the most negative value has a magnitude too.
    const int64_t wide = value;
    const uint64_t magnitude = static_cast<uint64_t>(wide < 0 ? -wide : wide);
    char text[32];
    std::snprintf(text, sizeof text, "%s%02u.%02u.%02u.%03u", wide < 0 ? "-" : "",
                  static_cast<unsigned>(magnitude / kThousandthsPerDegree),
                  static_cast<unsigned>(magnitude / kThousandthsPerMinute % 60),
                  static_cast<unsigned>(magnitude / kThousandthsPerSecond % 60),
                  static_cast<unsigned>(magnitude % kThousandthsPerSecond));
    return text;
}

} // namespace korva
