// Fuzzes the "db.dat" reader: through memory and through a real file, which must agree; a
// failed read must leave the target untouched.
#include "mapdb/portable/description_reader.h"
#include "mapdb/portable/map_database.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

using namespace korva;

namespace {

DbDescription Sentinel() {
    DbDescription d;
    d.editionName = "sentinel";
    d.updateFirst = 0xAA;
    d.long39 = 0x12345678;
    return d;
}

const std::string& ScratchFile() {
    static const std::string path = "/tmp/korva-fuzz-db-" + std::to_string(::getpid()) + ".dat";
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MemorySource memory(std::span<const std::uint8_t>(data, size));
    DbDescription fromMemory = Sentinel();
    std::int32_t result = ReadDescriptionFrom(memory, fromMemory);
    if (result != kDescriptionRead && result != kDescriptionUnreadable &&
        result != kDescriptionTooOld) {
        __builtin_trap();
    }
    if (result == kDescriptionUnreadable && !(fromMemory == Sentinel())) {
        __builtin_trap();
    }

    if (std::FILE* file = std::fopen(ScratchFile().c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
        CMapDatabase database;
        DbDescription fromFile = Sentinel();
        if (database.ReadDescription(ScratchFile(), &fromFile) != result ||
            !(fromFile == fromMemory)) {
            __builtin_trap();
        }
        std::remove(ScratchFile().c_str());
    }
    return 0;
}
