#include "removal_guard.h"

#include "paths.h"

#include <algorithm>
#include <array>

namespace korva {

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// Windows-1252 upper case to lower case: ASCII and the accented Latin letters.
char FoldCase(char c) {
    const auto u = static_cast<unsigned char>(c);
    if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7)) {
        return static_cast<char>(u + 0x20);
    }
    return c;
}

std::string Folded(std::string_view text) {
    std::string folded(text);
    std::transform(folded.begin(), folded.end(), folded.begin(), FoldCase);
    return folded;
}

std::vector<std::string_view> Components(std::string_view path) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || IsSeparator(path[i])) {
            if (i > start) {
                parts.push_back(path.substr(start, i - start));
            }
            start = i + 1;
        }
    }
    return parts;
}

// "con", "nul.txt", "COM1 " and the like: the platform opens a device whatever the extension.
bool IsDeviceName(std::string_view component) {
    std::string base = Folded(component.substr(0, component.find('.')));
    while (!base.empty() && base.back() == ' ') {
        base.pop_back();
    }
    static constexpr std::array<std::string_view, 7> plain = {"con",    "prn",    "aux",    "nul",
                                                              "clock$", "conin$", "conout$"};
    if (std::find(plain.begin(), plain.end(), base) != plain.end()) {
        return true;
    }
    return base.size() == 4 && (base.starts_with("com") || base.starts_with("lpt")) &&
           base[3] >= '1' && base[3] <= '9';
}

bool HasDevicePrefix(std::string_view path) {
    // "\\?\", "\\.\", "\??\" with either separator.
    return path.size() >= 4 && IsSeparator(path[0]) && IsSeparator(path[3]) &&
           ((IsSeparator(path[1]) && (path[2] == '?' || path[2] == '.')) ||
            (path[1] == '?' && path[2] == '?'));
}

} // namespace

bool HasUnsafeSpelling(std::string_view path) {
    if (path.empty() || path.size() >= kPathSize || HasDevicePrefix(path)) {
        return true;
    }
    for (std::size_t i = 0; i < path.size(); ++i) {
        const auto c = static_cast<unsigned char>(path[i]);
        if (c < 0x20 || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' || c == '|') {
            return true;
        }
        if (c == ':' && i != 1) {
            return true;
        }
    }
    for (std::string_view part : Components(path)) {
        if (part == "." || part == "..") {
            continue;
        }
        if (part.back() == '.' || part.back() == ' ' || IsDeviceName(part)) {
            return true;
        }
    }
    return false;
}

std::string CanonicalPath(std::string_view path) {
    std::string root;
    std::string_view rest;
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        const std::vector<std::string_view> parts = Components(path);
        if (parts.size() < 2 || parts[0] == "." || parts[0] == "?" || parts[0] == ".." ||
            parts[1] == "." || parts[1] == "..") {
            return "";
        }
        root = "\\\\" + std::string(parts[0]) + "\\" + std::string(parts[1]);
        const std::size_t shareEnd =
            static_cast<std::size_t>(parts[1].data() - path.data()) + parts[1].size();
        rest = path.substr(shareEnd);
    } else if (path.size() >= 3 && HasDriveLetter(path) && IsSeparator(path[2])) {
        root =
            std::string(1, path[0] >= 'a' && path[0] <= 'z' ? static_cast<char>(path[0] - 'a' + 'A')
                                                            : path[0]) +
            ":\\";
        rest = path.substr(3);
    } else {
        return "";
    }
    std::vector<std::string_view> kept;
    for (std::string_view part : Components(rest)) {
        if (part == ".") {
            continue;
        }
        if (part == "..") {
            if (!kept.empty()) {
                kept.pop_back();
            }
            continue;
        }
        kept.push_back(part);
    }
    std::string canonical = root;
    for (std::string_view part : kept) {
        if (canonical.back() != '\\') {
            canonical += '\\';
        }
        canonical.append(part);
    }
    return canonical;
}

bool IsRootPath(std::string_view canonical) {
    if (canonical.size() == 3 && canonical[1] == ':' && canonical[2] == '\\') {
        return true;
    }
    return canonical.starts_with("\\\\") &&
           std::count(canonical.begin() + 2, canonical.end(), '\\') == 1;
}

bool IsSameOrInside(std::string_view path, std::string_view directory) {
    if (directory.empty() || path.size() < directory.size()) {
        return false;
    }
    if (Folded(path.substr(0, directory.size())) != Folded(directory)) {
        return false;
    }
    return path.size() == directory.size() || directory.back() == '\\' ||
           path[directory.size()] == '\\';
}

RemovalVerdict JudgeRemovalDirectory(std::string_view resolvedDir,
                                     const std::vector<std::string>& protectedDirs,
                                     std::string_view resolvedInstalledDir) {
    const std::string dir = CanonicalPath(resolvedDir);
    if (dir.empty()) {
        return RemovalVerdict::unresolved;
    }
    if (IsRootPath(dir)) {
        return RemovalVerdict::root;
    }
    for (const std::string& protectedDir : protectedDirs) {
        const std::string guarded = CanonicalPath(protectedDir);
        if (!guarded.empty() && IsSameOrInside(guarded, dir)) {
            return RemovalVerdict::protectedDir;
        }
    }
    const std::string installed = CanonicalPath(resolvedInstalledDir);
    if (installed.empty() || Folded(installed) != Folded(dir)) {
        return RemovalVerdict::notInstalled;
    }
    return RemovalVerdict::allowed;
}

} // namespace korva
