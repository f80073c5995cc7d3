#include "ctlupdate/carried_library.h"

// The compressed file, linked in whole as read-only data. KORVA_CARRIED_SZDD is its path at
// build time.
__asm__(".section .rdata,\"dr\"\n"
        ".balign 4\n"
        "korva_carried_library_begin:\n"
        ".incbin \"" KORVA_CARRIED_SZDD "\"\n"
        "korva_carried_library_end:\n"
        ".text\n");

extern "C" const unsigned char carriedBegin[] __asm__("korva_carried_library_begin");
extern "C" const unsigned char carriedEnd[] __asm__("korva_carried_library_end");

namespace korva {

std::span<const unsigned char> CarriedLibrary() {
    return {carriedBegin, static_cast<std::size_t>(carriedEnd - carriedBegin)};
}

} // namespace korva
