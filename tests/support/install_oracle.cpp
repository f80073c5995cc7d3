#include "tests/support/install_oracle.h"

#include "scratch.h"

#include <windows.h>

#include <algorithm>

namespace e2e {

namespace {

std::vector<std::string> FilesMatching(const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA(pattern.c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            names.push_back(entry.cFileName);
        }
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    return names;
}

std::vector<std::string> SubdirectoriesOf(const std::string& dir) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        std::string name = entry.cFileName;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..") {
            names.push_back(name);
        }
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    return names;
}

void AddDirectory(std::vector<PlannedCopy>& copies, const std::string& sourceDir,
                  const std::string& installedDir) {
    std::vector<std::string> names = FilesMatching(sourceDir + "\\*.*");
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return lstrcmpiA(a.c_str(), b.c_str()) < 0;
    });
    for (const std::string& name : names) {
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
    for (const std::string& name : SubdirectoriesOf(sourceDir)) {
        if (name[0] != '.' && name != "demo" && name != "kdemo" && name != "KDEMO" &&
            name != "Kdemo") {
            areas.push_back(name);
        }
    }
    std::sort(areas.begin(), areas.end(), [](const std::string& a, const std::string& b) {
        return lstrcmpiA(a.c_str(), b.c_str()) < 0;
    });
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
            std::vector<std::string> names = FilesMatching(e.programSourceDir + "\\" + pattern);
            std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
                return lstrcmpiA(a.c_str(), b.c_str()) < 0;
            });
            for (const std::string& name : names) {
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
            std::vector<std::string> subs = SubdirectoriesOf(source + "\\cartine");
            std::sort(subs.begin(), subs.end(), [](const std::string& a, const std::string& b) {
                return lstrcmpiA(a.c_str(), b.c_str()) < 0;
            });
            for (const std::string& sub : subs) {
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
