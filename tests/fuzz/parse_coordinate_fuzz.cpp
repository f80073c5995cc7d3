// Coordinate texts typed by the user: any bytes parse without fault, and the text of a value
// parses back to it.
#include "posinet/portable/coordinate.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const int32_t value = korva::ParseCoordinate(text.c_str());

    // Formatting and parsing again keeps every non-negative value.
    if (value >= 0) {
        const std::string formatted = korva::FormatCoordinate(value);
        if (korva::ParseCoordinate(formatted.c_str()) != value) {
            std::abort();
        }
    }
    // Text after a terminating zero is never read.
    const std::string prefix = text.substr(0, std::strlen(text.c_str()));
    if (korva::ParseCoordinate(prefix.c_str()) != value) {
        std::abort();
    }
    return 0;
}
