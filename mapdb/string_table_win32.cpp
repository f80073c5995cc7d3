// On Windows the texts come from the running program's string table.
#include "string_lookup.h"

#include "resource_strings.h"

namespace korva {

std::string DefaultStringLookup(unsigned number) {
    return fw::LoadResourceString(number);
}

} // namespace korva
