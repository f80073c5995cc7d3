#include "edition_line.h"

#include "resource.h"
#include "resource_strings.h"

namespace korva {

std::string EditionLineFor(const std::string&) {
    // The road-network description is not read yet: an unreadable one shows an empty name
    // and zeros.
    return fw::FormatText(fw::LoadResourceString(IDS_EDITION_LINE).c_str(), "", 0, 0, 0, 0);
}

} // namespace korva
