// On Windows the texts come from the running program's string table.
#include "mapdb/portable/string_lookup.h"

#include <windows.h>

namespace korva {

std::string DefaultStringLookup(unsigned number) {
    // The longest text of the layer is the edition line; a table entry holds at most 4097.
    char text[4097] = {};
    const int length = LoadStringA(GetModuleHandleA(nullptr), number, text, sizeof text);
    return length > 0 ? std::string(text, static_cast<std::size_t>(length)) : std::string();
}

} // namespace korva
