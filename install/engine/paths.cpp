#include "paths.h"

namespace korva {

std::string JoinPath(std::string_view directory, std::string_view name) {
    std::string path;
    path.reserve(directory.size() + 1 + name.size());
    path.append(directory);
    path.push_back('\\');
    path.append(name);
    return path;
}

} // namespace korva
