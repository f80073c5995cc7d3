#include "install/engine/portable/settings_logic.h"

#include "install/engine/portable/setup_values.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace korva {

const std::array<const char*, 10> kDbMemoryKeys = {
    "NodeMemory", "SegMemory",   "SegPointMemory", "StreetMemory", "BoroughMemory",
    "TownMemory", "ShireMemory", "CountyMemory",   "StateMemory",  "NationMemory"};

std::string MapSetName(std::string_view cartineValue) {
    return std::string(cartineValue.substr(0, cartineValue.find('.')));
}

std::string AppendMapSetList(std::string_view oldList, std::string_view mapSetName) {
    std::string list;
    if (!oldList.empty()) {
        list.append(oldList.substr(0, oldList.find('.')));
        list.push_back(',');
    }
    list.append(mapSetName);
    list.push_back('.');
    if (list.size() > kMapSetListLimit) {
        return std::string(oldList);
    }
    return list;
}

namespace {

// Reads "%lu,%lu": two numbers separated by a comma (blanks allowed before each number).
bool ParseMemoryPair(std::string_view value, std::uint32_t& first, std::uint32_t& second) {
    auto skipBlanks = [&](std::size_t i) {
        while (i < value.size() && (value[i] == ' ' || value[i] == '\t')) {
            ++i;
        }
        return i;
    };
    auto digitsAt = [&](std::size_t i) {
        std::size_t j = i;
        if (j < value.size() && (value[j] == '+' || value[j] == '-')) {
            ++j;
        }
        return j < value.size() && value[j] >= '0' && value[j] <= '9';
    };
    std::size_t i = skipBlanks(0);
    if (!digitsAt(i)) {
        return false;
    }
    first = ParseUnsignedValue(value.substr(i));
    if (value[i] == '+' || value[i] == '-') {
        ++i;
    }
    while (i < value.size() && value[i] >= '0' && value[i] <= '9') {
        ++i;
    }
    if (i >= value.size() || value[i] != ',') {
        return false;
    }
    i = skipBlanks(i + 1);
    if (!digitsAt(i)) {
        return false;
    }
    second = ParseUnsignedValue(value.substr(i));
    return true;
}

} // namespace

std::string ScaleMemoryPair(std::string_view value) {
    std::uint32_t first = 0;
    std::uint32_t second = 0;
    if (!ParseMemoryPair(value, first, second)) {
        ParseMemoryPair(kDefaultMemoryPair, first, second);
    }
    double scaled = std::trunc(static_cast<double>(second) * 1.5);
    // A product beyond 32 bits keeps the largest value instead of wrapping to a small one.
    std::uint32_t newSecond = scaled > std::numeric_limits<std::uint32_t>::max()
                                  ? std::numeric_limits<std::uint32_t>::max()
                                  : static_cast<std::uint32_t>(scaled);
    char text[32];
    std::snprintf(text, sizeof text, "%lu,%lu", static_cast<unsigned long>(first),
                  static_cast<unsigned long>(newSecond));
    return text;
}

void PushRecentFile(RecentFiles& files, std::string_view newest) {
    files[3] = files[2];
    files[2] = files[1];
    files[1] = files[0];
    files[0] = std::string(newest);
}

long ProgressPercent(std::uint32_t done, std::uint32_t total) {
    if (total == 0) {
        return 0;
    }
    return static_cast<long>(static_cast<double>(done) * 100.0 / static_cast<double>(total));
}

int ProgressBarEnd(int clientRight, long percent) {
    return static_cast<int>(static_cast<double>(clientRight - 2) * static_cast<double>(percent) *
                            0.01) -
           1;
}

} // namespace korva
