// The common-controls library that ctlupdate carries, compressed in the SZDD format. The build
// compresses the configured library (or the project's stand-in) and links the result in.
#pragma once

#include <cstddef>
#include <span>

namespace korva {

std::span<const unsigned char> CarriedLibrary();

} // namespace korva
