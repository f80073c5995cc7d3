#include "tests/support/install_oracle.h"

#include "scratch.h"
#include "tests/support/directory_entries.h"

#include <algorithm>
#include <cctype>

namespace e2e {

namespace {

void AddDirectory(std::vector<PlannedCopy>& copies, const std::string& sourceDir,
                  const std::string& installedDir) {
    for (const std::string& name : testfs::FileNames(sourceDir + "\\*.*")) {
        copies.push_back(
            {installedDir.empty() ? name : installedDir + "\\" + name, sourceDir + "\\" + name});
    }
}

bool Contains(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

std::string Lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

} // namespace

std::vector<std::string> AreasOf(const std::string& sourceDir) {
    std::vector<std::string> areas;
    for (const std::string& name : testfs::SubdirectoryNames(sourceDir)) {
        if (name[0] != '.' && name != "demo" && name != "kdemo" && name != "KDEMO" &&
            name != "Kdemo") {
            areas.push_back(name);
        }
    }
    return areas;
}

std::vector<PlannedCopy> PlannedCopies(const InstallExpectation& e) {
    std::vector<PlannedCopy> copies;
    for (size_t i = 0; i < e.areas.size(); ++i) {
        // Every area copies the program files again, over the same names.
        for (const char* name : {"korva.exe", "POSINET.EXE", "korva.hlp"}) {
            copies.push_back({name, e.programSourceDir + "\\" + name});
        }
        for (const char* pattern : {"*.bmp", "*.wmf", "*.dll", "tutorial.*"}) {
            for (const std::string& name : testfs::FileNames(e.programSourceDir + "\\" + pattern)) {
                copies.push_back({name, e.programSourceDir + "\\" + name});
            }
        }
        const std::string& area = e.areas[i];
        const int type = i == 0 ? e.firstAreaType : 2;
        const std::string source = e.sourceDir + "\\" + area;
        if (type >= 2 && !Contains(e.networkDeclined, area)) {
            AddDirectory(copies, source + "\\rete", area + "\\rete");
        }
        if (type >= 2 && !e.earlierNetwork) {
            AddDirectory(copies, source + "\\catalog", area + "\\catalog");
        }
        const bool compensation = testfs::Exists(source + "\\" + area + ".cmp");
        std::vector<std::string> mapFiles = {".are", ".vgr", ".map"};
        if (compensation) {
            mapFiles.insert(mapFiles.end(), {".cmp", ".cm1"});
        }
        for (const std::string& ext : mapFiles) {
            copies.push_back({area + "\\" + area + ext, source + "\\" + area + ext});
        }
        if (type == 3) {
            for (const std::string& sub : testfs::SubdirectoryNames(source + "\\cartine")) {
                AddDirectory(copies, source + "\\cartine\\" + sub, area + "\\cartine\\" + sub);
            }
            AddDirectory(copies, source + "\\cartine", area + "\\cartine");
        }
        if (type >= 2) {
            AddDirectory(copies, source + "\\immagini", area + "\\immagini");
        }
    }
    return copies;
}

std::map<std::string, std::string> ExpectedFiles(const InstallExpectation& e) {
    std::map<std::string, std::string> files;
    for (const PlannedCopy& copy : PlannedCopies(e)) {
        files[copy.installed] = copy.source;
    }
    return files;
}

std::vector<std::string> CheckCopiedPrefix(const InstallExpectation& e, size_t& copied) {
    std::vector<std::string> problems;
    const std::vector<PlannedCopy> plan = PlannedCopies(e);
    copied = 0;
    while (copied < plan.size() && testfs::Exists(e.programDir + "\\" + plan[copied].installed)) {
        ++copied;
    }
    std::map<std::string, std::string> present;
    for (size_t i = 0; i < copied; ++i) {
        present[Lower(plan[i].installed)] = plan[i].source;
    }
    for (const std::string& relative : testfs::ListTree(e.programDir)) {
        auto it = present.find(Lower(relative));
        const bool mapSet = Lower(relative).size() > 4 &&
                            Lower(relative).compare(relative.size() - 4, 4, ".vgr") == 0;
        if (it == present.end()) {
            problems.push_back("copied out of order or unexpected: " + relative);
        } else if (!mapSet && testfs::ReadFile(e.programDir + "\\" + relative) !=
                                  testfs::ReadFile(it->second)) {
            problems.push_back("incomplete or different: " + relative);
        }
    }
    return problems;
}

std::vector<std::string> CompareInstalledTree(const InstallExpectation& e,
                                              const std::vector<std::string>& preexisting) {
    std::vector<std::string> problems;
    std::map<std::string, std::string> expected;
    for (const auto& [relative, source] : ExpectedFiles(e)) {
        expected[Lower(relative)] = source;
    }
    std::vector<std::string> actual = testfs::ListTree(e.programDir);
    for (const std::string& relative : actual) {
        auto it = expected.find(Lower(relative));
        if (it == expected.end()) {
            if (!Contains(preexisting, relative)) {
                problems.push_back("unexpected " + relative);
            }
            continue;
        }
        const bool mapSet = Lower(relative).size() > 4 &&
                            Lower(relative).compare(relative.size() - 4, 4, ".vgr") == 0;
        if (!mapSet &&
            testfs::ReadFile(e.programDir + "\\" + relative) != testfs::ReadFile(it->second)) {
            problems.push_back("differs " + relative);
        }
        expected.erase(it);
    }
    for (const auto& [relative, source] : expected) {
        problems.push_back("missing " + relative);
    }
    return problems;
}

} // namespace e2e
