#include "install/shared/portable/paths.h"

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

std::string DirectoryOfModule(std::string_view modulePath) {
    std::size_t slash = modulePath.rfind('\\');
    if (slash == std::string_view::npos) {
        return std::string(modulePath);
    }
    return std::string(modulePath.substr(0, slash));
}

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// Length of the part of `path` that is a root and never created: "C:\", "C:", "\",
// "\\server\share\".
std::size_t RootLength(std::string_view path) {
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        std::size_t at = 2;
        for (int part = 0; part < 2; ++part) {
            while (at < path.size() && !IsSeparator(path[at])) {
                ++at;
            }
            if (at < path.size()) {
                ++at;
            }
        }
        return at;
    }
    std::size_t at = HasDriveLetter(path) ? 2 : 0;
    if (at < path.size() && IsSeparator(path[at])) {
        ++at;
    }
    return at;
}

} // namespace

std::vector<std::string> DirectoryLevels(std::string_view path) {
    std::vector<std::string> levels;
    std::size_t at = RootLength(path);
    while (at < path.size()) {
        if (IsSeparator(path[at])) {
            ++at;
            continue;
        }
        std::size_t end = at;
        while (end < path.size() && !IsSeparator(path[end])) {
            ++end;
        }
        levels.emplace_back(path.substr(0, end));
        at = end;
    }
    return levels;
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

std::string VolumeRootOf(std::string_view path) {
    std::string root(path.substr(0, RootLength(path)));
    for (char& c : root) {
        if (c == '/') {
            c = '\\';
        }
    }
    if (!root.empty() && root.back() != '\\') {
        root.push_back('\\');
    }
    return root;
}

} // namespace korva
