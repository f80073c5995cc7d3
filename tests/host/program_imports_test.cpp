// The Windows programs load on Windows 95 and NT 4.0: every function their import tables name is
// in program_imports.tsv, none is newer than those systems, and their headers ask for system
// version 4.0. Read from the 32-bit build, which every machine makes, also where only the 64-bit
// programs can run.
#include "pe_imports.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char* const kPrograms[] = {"install", "posinet", "ctlupdate"};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::vector<std::string> Fields(const std::string& line, char separator) {
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, separator)) {
        fields.push_back(field);
    }
    return fields;
}

struct Row {
    int line = 0;
    std::string dll;
    std::string function;
    std::string windows95;
    std::string nt;
    std::vector<std::string> sources;
    std::set<std::string> programs;
    std::string note;
};

struct Table {
    std::map<std::string, Row> rows; // by "dll!function", the dll in lower case
    std::set<std::string> sourceKeys;
    std::vector<std::string> problems;
};

std::string Key(const std::string& dll, const std::string& function) {
    return Lower(dll) + "!" + function;
}

// The table's rows, and the source keys its header defines ("#   key  text" under "# Sources:").
Table ReadTable(const std::string& path) {
    Table table;
    std::ifstream file(path);
    if (!file) {
        table.problems.push_back("cannot read " + path);
        return table;
    }
    std::string line;
    bool inSources = false;
    for (int number = 1; std::getline(file, line); ++number) {
        if (line.empty()) {
            continue;
        }
        if (line[0] == '#') {
            if (line == "# Sources:") {
                inSources = true;
            } else if (inSources && line.size() > 4 && line.compare(0, 4, "#   ") == 0 &&
                       line[4] != ' ') {
                table.sourceKeys.insert(Fields(line.substr(4), ' ').front());
            } else if (line == "#") {
                inSources = false;
            }
            continue;
        }
        const std::vector<std::string> f = Fields(line, '\t');
        const std::string where = "line " + std::to_string(number) + ": ";
        if (f.size() < 6 || f.size() > 7) {
            table.problems.push_back(where + "6 or 7 tab-separated fields expected");
            continue;
        }
        Row row;
        row.line = number;
        row.dll = f[0];
        row.function = f[1];
        row.windows95 = f[2];
        row.nt = f[3];
        row.sources = Fields(f[4], ' ');
        for (const std::string& program : Fields(f[5], ' ')) {
            row.programs.insert(program);
        }
        row.note = f.size() == 7 ? f[6] : "";
        if (!table.rows.emplace(Key(row.dll, row.function), row).second) {
            table.problems.push_back(where + row.dll + " " + row.function + " is listed twice");
        }
    }
    return table;
}

const std::set<std::string> kWindows95Values = {"95",   "95-stub", "95-osr2", "98",   "me",
                                                "none", "vc4.2",   "vc5.0",   "vc6.0"};
const std::set<std::string> kNtValues = {"3.1", "3.5", "3.51", "4.0", "5.0",
                                         "5.1", "5.2", "6.0",  "none"};
const std::set<std::string> kNtBy4 = {"3.1", "3.5", "3.51", "4.0"};

// Why a row's function would keep a program from loading on Windows 95 or NT 4.0; empty when
// it would not.
std::string TooNew(const Row& row) {
    if (Lower(row.dll) == "msvcrt.dll") {
        // The Visual C++ 4.2 msvcrt.dll is also the one of NT 4.0.
        if (row.windows95 != "vc4.2" || row.nt != "4.0") {
            return "not in the first msvcrt.dll (Visual C++ 4.2, NT 4.0): " + row.windows95 +
                   ", NT " + row.nt;
        }
        return {};
    }
    if (row.windows95 != "95" && row.windows95 != "95-stub") {
        return "later than Windows 95: " + row.windows95;
    }
    if (!kNtBy4.count(row.nt)) {
        return "later than NT 4.0: " + row.nt;
    }
    return {};
}

std::string ProgramPath(const std::string& name) {
    return std::string(KORVA_DELIVERABLES_DIR) + "/" + name + "/" + name + ".exe";
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += "\n  " + line;
    }
    return text;
}

class ProgramImports : public ::testing::TestWithParam<const char*> {};

} // namespace

TEST(ProgramImportTable, EveryRowIsWellFormed) {
    const Table table = ReadTable(KORVA_PROGRAM_IMPORTS);
    std::vector<std::string> problems = table.problems;
    ASSERT_FALSE(table.rows.empty()) << "no rows in " << KORVA_PROGRAM_IMPORTS;
    EXPECT_TRUE(table.sourceKeys.count("k95")) << "the header defines no sources";
    for (const auto& [key, row] : table.rows) {
        const std::string where =
            "line " + std::to_string(row.line) + " " + row.dll + " " + row.function + ": ";
        if (!kWindows95Values.count(row.windows95)) {
            problems.push_back(where + "unknown Windows 95 family release " + row.windows95);
        }
        if (!kNtValues.count(row.nt)) {
            problems.push_back(where + "unknown NT release " + row.nt);
        }
        if (row.sources.empty() || row.sources.front().empty()) {
            problems.push_back(where + "no source");
        }
        for (const std::string& source : row.sources) {
            if (!source.empty() && !table.sourceKeys.count(source)) {
                problems.push_back(where + "source " + source + " is not defined in the header");
            }
        }
        for (const std::string& program : row.programs) {
            if (std::find(std::begin(kPrograms), std::end(kPrograms), program) ==
                std::end(kPrograms)) {
                problems.push_back(where + "unknown program " + program);
            }
        }
        if (row.windows95 == "95-stub" && row.note.empty()) {
            problems.push_back(where +
                               "a stub on Windows 95 needs a note saying why it is harmless");
        }
    }
    EXPECT_TRUE(problems.empty()) << KORVA_PROGRAM_IMPORTS << ":" << Joined(problems);
}

TEST_P(ProgramImports, LoadOnWindows95AndNt4) {
    const std::string name = GetParam();
    const std::string path = ProgramPath(name);
    peimports::ProgramImage image;
    std::string error;
    ASSERT_TRUE(peimports::ReadProgramFile(path, image, error))
        << name << ".exe of the 32-bit build cannot be read (" << error
        << "): the Windows programs are built into " << KORVA_DELIVERABLES_DIR
        << " on every machine; build them first (./test builds everything)";
    EXPECT_FALSE(image.is64Bit) << path << " is a 64-bit program; the deliverables are 32-bit";
    EXPECT_EQ(image.majorOperatingSystemVersion, 4) << path;
    EXPECT_EQ(image.minorOperatingSystemVersion, 0) << path;
    EXPECT_EQ(image.majorSubsystemVersion, 4) << path;
    EXPECT_EQ(image.minorSubsystemVersion, 0) << path;
    ASSERT_FALSE(image.imports.empty()) << path << " imports nothing: not a program of this build";

    const Table table = ReadTable(KORVA_PROGRAM_IMPORTS);
    std::vector<std::string> refused;
    for (const peimports::Import& import : image.imports) {
        const std::string what = import.library + " " + import.function;
        if (import.function.empty()) {
            refused.push_back(import.library + " ordinal " + std::to_string(import.ordinal) +
                              ": imported by ordinal, which differs between systems");
            continue;
        }
        const auto row = table.rows.find(Key(import.library, import.function));
        if (row == table.rows.end()) {
            refused.push_back(what + ": not in the table; check the systems that have it and "
                                     "add a row, or reach it through GetProcAddress");
            continue;
        }
        if (const std::string why = TooNew(row->second); !why.empty()) {
            refused.push_back(what + ": " + why + "; reach it through GetProcAddress");
        }
    }
    EXPECT_TRUE(refused.empty()) << path << " would not load on Windows 95 or NT 4.0, or is not "
                                 << "described by " << KORVA_PROGRAM_IMPORTS << ":"
                                 << Joined(refused);
}

INSTANTIATE_TEST_SUITE_P(Deliverables, ProgramImports, ::testing::ValuesIn(kPrograms),
                         [](const auto& info) { return std::string(info.param); });

TEST(ProgramImportTable, EveryRowIsStillImported) {
    const Table table = ReadTable(KORVA_PROGRAM_IMPORTS);
    std::map<std::string, std::set<std::string>> importers;
    for (const char* name : kPrograms) {
        peimports::ProgramImage image;
        std::string error;
        ASSERT_TRUE(peimports::ReadProgramFile(ProgramPath(name), image, error)) << error;
        for (const peimports::Import& import : image.imports) {
            importers[Key(import.library, import.function)].insert(name);
        }
    }
    std::vector<std::string> stale;
    for (const auto& [key, row] : table.rows) {
        const std::set<std::string>& actual = importers[key];
        if (actual != row.programs) {
            std::string names;
            for (const std::string& program : actual) {
                names += (names.empty() ? "" : " ") + program;
            }
            stale.push_back("line " + std::to_string(row.line) + " " + row.dll + " " +
                            row.function + ": imported by \"" + names + "\"");
        }
    }
    EXPECT_TRUE(stale.empty()) << "rows whose programs column is not what the programs import "
                               << "(remove a row no program imports):" << Joined(stale);
}
