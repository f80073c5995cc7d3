// Fuzzes the SZDD expander; whatever it accepts must survive a round trip through the
// compressor.
#include "framework/portable/szdd.h"

#include <cstdint>

using namespace korva;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SzddExpansion expanded = ExpandSzdd({data, size});
    if (!expanded.ok) {
        return 0;
    }
    std::uint32_t declared = data[10] | (data[11] << 8) | (data[12] << 16) |
                             (static_cast<std::uint32_t>(data[13]) << 24);
    if (expanded.data.size() != declared) {
        __builtin_trap();
    }
    SzddExpansion again = ExpandSzdd(CompressSzdd(expanded.data, expanded.missingChar));
    if (!again.ok || again.data != expanded.data || again.missingChar != expanded.missingChar) {
        __builtin_trap();
    }
    return 0;
}
