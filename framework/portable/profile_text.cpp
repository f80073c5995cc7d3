#include "framework/portable/profile_text.h"

#include <cctype>

namespace fw {

namespace {

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

bool SameText(std::string_view a, std::string_view b) {
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

// Takes the first line off `text`, without the blanks around it.
std::string_view NextLine(std::string_view& text) {
    const std::size_t end = text.find('\n');
    const std::string_view line = Trimmed(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    return line;
}

} // namespace

bool ProfileTextHasLine(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value) {
    bool inSection = false;
    while (!text.empty()) {
        const std::string_view line = NextLine(text);
        if (line.starts_with('[')) {
            const std::size_t close = line.find(']');
            inSection = close != std::string_view::npos &&
                        SameText(Trimmed(line.substr(1, close - 1)), Trimmed(section));
            continue;
        }
        const std::size_t equals = line.find('=');
        if (inSection && equals != std::string_view::npos &&
            SameText(Trimmed(line.substr(0, equals)), Trimmed(key)) &&
            SameText(Trimmed(line.substr(equals + 1)), Trimmed(value))) {
            return true;
        }
    }
    return false;
}

std::optional<std::string> ProfileTextValue(std::string_view text, std::string_view section,
                                            std::string_view key) {
    bool inside = false;
    while (!text.empty()) {
        const std::string_view line = NextLine(text);
        if (line.starts_with('[')) {
            if (inside) {
                return std::nullopt; // only the first section of that name counts
            }
            const std::size_t close = line.find(']');
            inside = SameText(
                Trimmed(line.substr(1, close == std::string_view::npos ? close : close - 1)),
                section);
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inside || equals == std::string_view::npos ||
            !SameText(Trimmed(line.substr(0, equals)), key)) {
            continue;
        }
        std::string_view value = Trimmed(line.substr(equals + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front()) {
            value = value.substr(1, value.size() - 2);
        }
        return std::string(value);
    }
    return std::nullopt;
}

} // namespace fw
