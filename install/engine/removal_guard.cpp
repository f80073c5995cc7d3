#include "removal_guard.h"

#include <algorithm>
#include <string>

namespace korva {

namespace {

std::string Folded(std::string_view path) {
    while (!path.empty() && (path.back() == '\\' || path.back() == '/')) {
        path.remove_suffix(1);
    }
    std::string folded(path);
    std::transform(folded.begin(), folded.end(), folded.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return folded;
}

bool IsShareRoot(const std::string& path) {
    if (path.rfind("\\\\", 0) != 0) {
        return false;
    }
    // "\\server\share" has one backslash after the server name; anything deeper has more.
    return std::count(path.begin() + 2, path.end(), '\\') <= 1;
}

} // namespace

bool MayRemoveFrom(std::string_view installDir, std::string_view windowsDir) {
    const std::string dir = Folded(installDir);
    if (dir.empty() || (dir.size() == 2 && dir[1] == ':') || IsShareRoot(dir)) {
        return false;
    }
    const std::string windows = Folded(windowsDir);
    return !(windows == dir || windows.rfind(dir + "\\", 0) == 0);
}

} // namespace korva
