// The texts built into host builds are the installer's own string-table entries.
#include "mapdb/portable/string_lookup.h"
#include "tools/dbdat/text_1252.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>

using namespace korva;

namespace {

std::string ReadText(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// id name -> number, from the installer's resource.h and the layer's ids it includes.
std::map<std::string, unsigned> ResourceNumbers() {
    std::map<std::string, unsigned> numbers;
    std::string header = ReadText(KORVA_INSTALL_RESOURCES "/resource.h") +
                         ReadText(KORVA_MAPDB_DIR "/mapdb_text_ids.h");
    std::regex define(R"(#define\s+(\w+)\s+(\d+))");
    for (std::sregex_iterator it(header.begin(), header.end(), define), end; it != end; ++it) {
        numbers[(*it)[1]] = static_cast<unsigned>(std::stoul((*it)[2]));
    }
    return numbers;
}

// number -> text (Windows-1252, escapes resolved), from the string table of install.rc.
std::map<unsigned, std::string> StringTable() {
    std::map<std::string, unsigned> numbers = ResourceNumbers();
    std::map<unsigned, std::string> table;
    std::istringstream rc(ReadText(KORVA_INSTALL_RESOURCES "/install.rc"));
    std::regex entry(R"re(\s+(IDS_\w+)\s+"((?:[^"]|"")*)"\s*)re");
    std::string line;
    std::smatch match;
    while (std::getline(rc, line)) {
        if (!std::regex_match(line, match, entry)) {
            continue;
        }
        std::string raw = match[2], text;
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] == '\\' && i + 1 < raw.size() && raw[i + 1] == 'n') {
                text += '\n';
                ++i;
            } else if (raw[i] == '"') {
                text += '"';
                ++i;
            } else {
                text += raw[i];
            }
        }
        table[numbers.at(match[1])] = Utf8ToCp1252(text).value_or("<not Windows-1252>");
    }
    return table;
}

} // namespace

TEST(Strings, HostTextsEqualTheInstallerStringTable) {
    std::map<unsigned, std::string> table = StringTable();
    const unsigned used[] = {27,    61631, 61680, 61681, 61682, 61683,
                             61684, 61685, 61686, 61687, 61688};
    for (unsigned number : used) {
        ASSERT_TRUE(table.count(number)) << number;
        EXPECT_EQ(DefaultStringLookup(number), table[number]) << number;
    }
    EXPECT_EQ(table[61684], "Citt\xE0");
    EXPECT_EQ(DefaultStringLookup(12345), "");
}

TEST(Strings, Cp1252ConversionsRoundTrip) {
    EXPECT_EQ(Utf8ToCp1252("Localit\xC3\xA0 \xE2\x82\xAC"), std::string("Localit\xE0 \x80"));
    EXPECT_EQ(Cp1252ToUtf8("Citt\xE0 \x80"), "Citt\xC3\xA0 \xE2\x82\xAC");
    EXPECT_EQ(Cp1252ToUtf8("\x81"), "\xEF\xBF\xBD");
    EXPECT_FALSE(Utf8ToCp1252("\xE4\xB8\xAD")); // not in the code page
    EXPECT_FALSE(Utf8ToCp1252("\xC3"));         // cut short
    EXPECT_FALSE(Utf8ToCp1252("\xC0\x80"));     // overlong
    EXPECT_FALSE(Utf8ToCp1252("\xFF"));
}
