#include "mapdb/portable/string_lookup.h"

namespace korva {

namespace {
// One lookup per process, like the resource module it stands for.
StringLookup currentLookup = &DefaultStringLookup;
} // namespace

StringLookup SetStringLookup(StringLookup lookup) {
    StringLookup previous = currentLookup;
    currentLookup = lookup ? lookup : &DefaultStringLookup;
    return previous;
}

std::string LoadResString(unsigned number) {
    return currentLookup(number);
}

} // namespace korva
