#include "install/engine/portable/setup_values.h"

#include <limits>

namespace korva {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

} // namespace

namespace {

// The leading part of a decimal conversion: blanks, an optional sign, then the digits, with
// the magnitude held at `limit` when it does not fit.
struct DecimalText {
    bool negative = false;
    std::uint64_t magnitude = 0;
    bool overflow = false;
};

DecimalText ReadDecimal(std::string_view text, std::uint64_t limit) {
    DecimalText number;
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        number.negative = text[i] == '-';
        ++i;
    }
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        number.magnitude = number.magnitude * 10 + static_cast<unsigned>(text[i] - '0');
        if (number.magnitude > limit) {
            number.magnitude = limit;
            number.overflow = true;
        }
    }
    return number;
}

} // namespace

std::uint32_t ParseUnsignedValue(std::string_view text) {
    const DecimalText number = ReadDecimal(text, std::numeric_limits<std::uint32_t>::max());
    if (number.overflow) {
        return std::numeric_limits<std::uint32_t>::max();
    }
    const auto value = static_cast<std::uint32_t>(number.magnitude);
    // "%lu" accepts a minus sign and negates in unsigned arithmetic.
    return number.negative ? static_cast<std::uint32_t>(0u - value) : value;
}

std::int32_t ParseSignedValue(std::string_view text) {
    const DecimalText number = ReadDecimal(text, std::numeric_limits<std::int32_t>::max());
    const auto value = static_cast<std::int32_t>(number.magnitude);
    return number.negative ? -value : value;
}

std::uint32_t SpaceNeeded(int installType, std::uint32_t netMegabytes,
                          std::uint32_t bitmapMegabytes) {
    switch (installType) {
    case 1:
        return 10000000u;
    case 2:
        return netMegabytes * 1000000u;
    default:
        return (netMegabytes + bitmapMegabytes) * 1000000u;
    }
}

std::uint32_t FreeBytes32(std::uint64_t freeBytes) {
    return freeBytes > UINT32_MAX ? UINT32_MAX : static_cast<std::uint32_t>(freeBytes);
}

bool IsExcludedAreaName(std::string_view name) {
    return name.empty() || name[0] == '.' || name == "demo" || name == "kdemo" || name == "KDEMO" ||
           name == "Kdemo";
}

std::vector<std::string> SplitFileList(std::string_view list) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t comma = list.find(',', start);
        std::size_t end = comma == std::string_view::npos ? list.size() : comma;
        if (end > start) {
            names.emplace_back(list.substr(start, end - start));
        }
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    return names;
}

std::vector<std::string> MapFilesToCopy(std::string_view area, bool compensation) {
    std::vector<std::string> files;
    const char* extensions[] = {".are", ".vgr", ".map", ".cmp", ".cm1"};
    for (int i = 0; i < (compensation ? 5 : 3); ++i) {
        files.push_back(std::string(area) + extensions[i]);
    }
    return files;
}

std::string MapFileSizeList(std::string_view area, bool compensation) {
    std::string a(area);
    std::string list = a + ".vgr," + a + ".are," + a + ".map";
    if (compensation) {
        list += "," + a + ".cmp," + a + ".cm1";
    }
    return list;
}

} // namespace korva
