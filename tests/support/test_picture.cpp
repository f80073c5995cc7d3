#include "test_picture.h"

#include "scratch.h"

namespace testfs {

std::string TestPicture(const std::string& name) {
    return WindowsPath(KORVA_TEST_PICTURES_UNIX + std::string("/") + name);
}

} // namespace testfs
