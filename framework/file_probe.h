// Whether a file can be opened for reading: how the programs test for a file on the CD.
#pragma once

#include <string>

namespace fw {

bool CanOpenForReading(const std::string& path);

} // namespace fw
