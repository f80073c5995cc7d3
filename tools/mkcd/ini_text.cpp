#include "tools/mkcd/ini_text.h"

#include <cctype>

namespace mkcd {

namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// Calls `line` for every line of the section (the first of that name); returns whether the
// section was found. `line` returns true to stop.
template <typename Line>
bool ForSectionLines(std::string_view text, std::string_view section, Line line) {
    bool inside = false;
    bool found = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view current = Trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!current.empty() && current.front() == '[') {
            const std::size_t close = current.find(']');
            const std::string_view name = Trim(current.substr(
                1, close == std::string_view::npos ? std::string_view::npos : close - 1));
            if (found) {
                return true; // only the first section of that name counts
            }
            inside = SameName(name, section);
            found = found || inside;
            continue;
        }
        if (inside && line(current)) {
            return true;
        }
    }
    return found;
}

} // namespace

std::optional<std::string> IniValue(std::string_view text, std::string_view section,
                                    std::string_view key) {
    std::optional<std::string> value;
    ForSectionLines(text, section, [&](std::string_view line) {
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos || !SameName(Trim(line.substr(0, eq)), key)) {
            return false;
        }
        std::string_view found = Trim(line.substr(eq + 1));
        if (found.size() >= 2 && (found.front() == '"' || found.front() == '\'') &&
            found.back() == found.front()) {
            found = found.substr(1, found.size() - 2);
        }
        value = std::string(found);
        return true;
    });
    return value;
}

bool IniHasSection(std::string_view text, std::string_view section) {
    return ForSectionLines(text, section, [](std::string_view) { return false; });
}

} // namespace mkcd
