// The pictures the build makes for the picture tests: GIF and TIFF copies of the sample cover
// (the target cover_test_pictures).
#pragma once

#include <string>

namespace testfs {

// A picture made for the tests ("cover1.gif"), as a Windows path of the prefix.
std::string TestPicture(const std::string& name);

} // namespace testfs
