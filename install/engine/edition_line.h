// The edition line of the progress window, read from an area's road-network description.
#pragma once

#include <string>

namespace korva {

// Message 27 filled from the db.dat in `reteDir`: edition name, update numbers, version.
std::string EditionLineFor(const std::string& reteDir);

} // namespace korva
