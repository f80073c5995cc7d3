// What an installation from the sample CD must leave on disk, worked out from the CD itself:
// the test's own statement of the copy rules, compared file by file with the real result.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace e2e {

struct InstallExpectation {
    std::string programSourceDir; // where the program files come from
    std::string sourceDir;        // the edition's directory holding the areas
    std::string programDir;
    int firstAreaType = 2; // the type chosen; later areas are installed as type 2
    std::vector<std::string> areas;
    // Areas whose existing network the user declined to overwrite.
    std::vector<std::string> networkDeclined;
    // Set when some area's destination already held a network: no catalogues at all.
    bool earlierNetwork = false;
};

struct PlannedCopy {
    std::string installed; // relative to programDir
    std::string source;    // the CD file it must equal
};

// The map areas of an edition's directory as the installation finds them: its directories
// but "demo", "kdemo", "KDEMO", "Kdemo" and names that begin with a dot, in name order.
std::vector<std::string> AreasOf(const std::string& sourceDir);

// Every file the installation copies, in the order it copies them.
std::vector<PlannedCopy> PlannedCopies(const InstallExpectation& expectation);

// Installed path relative to programDir -> the CD file it must equal.
std::map<std::string, std::string> ExpectedFiles(const InstallExpectation& expectation);

// Differences between the expected files and what is under programDir ("missing x",
// "unexpected y", "differs z"); map-set files (.vgr) are compared by their keys elsewhere.
// Checks an abandoned installation: the files present are exactly the first n of the plan,
// each complete. Returns the problems; `copied` receives n.
std::vector<std::string> CheckCopiedPrefix(const InstallExpectation& expectation, size_t& copied);

std::vector<std::string> CompareInstalledTree(const InstallExpectation& expectation,
                                              const std::vector<std::string>& preexisting = {});

} // namespace e2e
