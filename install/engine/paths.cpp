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

std::string NormalizePath(std::string_view path) {
    std::string normal(path);
    if (!normal.empty() && normal.back() == '\\') {
        normal.pop_back();
    }
    if (normal.size() >= 2 && normal[1] == ':' && normal[0] >= 'a' && normal[0] <= 'z') {
        normal[0] = static_cast<char>(normal[0] - 'a' + 'A');
    }
    return normal;
}

bool HasDriveLetter(std::string_view path) {
    if (path.size() < 2 || path[1] != ':') {
        return false;
    }
    char c = path[0];
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string DriveRootOf(std::string_view path) {
    std::string root;
    root.push_back(path.empty() ? '\0' : path[0]);
    root.append(":\\");
    return root;
}

} // namespace korva
