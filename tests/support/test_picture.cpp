#include "test_picture.h"

namespace testfs {

std::string TestPicture(const std::string& name) {
    std::string path = std::string("Z:") + KORVA_TEST_PICTURES_UNIX + "/" + name;
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

} // namespace testfs
