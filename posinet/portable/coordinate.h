// The text form of a geographic coordinate, DD.MM.SS.mmm, and its value in thousandths of an
// arc-second.
#pragma once

#include <cstdint>
#include <string>

namespace korva {

constexpr int32_t kThousandthsPerSecond = 1000;
constexpr int32_t kThousandthsPerMinute = 60 * kThousandthsPerSecond;
constexpr int32_t kThousandthsPerDegree = 60 * kThousandthsPerMinute;

// degrees x 3 600 000 + minutes x 60 000 + seconds x 1 000 + thousandths, from up to four
// unsigned decimal fields separated by full stops. Each field is read as "%lu" reads it
// (leading white space and a sign allowed, digits wrapping modulo 2^32); a missing field is 0.
// The fields are not range checked and the last one is a whole count of thousandths
// ("45.04.47.5" is 5 thousandths past 47 seconds). The sum wraps in 32 bits. A null text is 0.
int32_t ParseCoordinate(const char* text);

// The DD.MM.SS.mmm text of a value, with a leading '-' for a negative one; parsing the text
// of a non-negative value gives the value back.
std::string FormatCoordinate(int32_t value);

} // namespace korva
