// The state of one installation run, held by the cover window for as long as it lives.
#pragma once

#include "install/shared/portable/paths.h"

#include <vector>

namespace korva {

enum InstallType { kInstallNone = 0, kMinimal = 1, kRecommended = 2, kComplete = 3 };
enum SystemType { kWindows95Family = 2, kWindowsNT = 3 };

// One map area of the CD: its directory name and its data directory as the user typed it.
struct AreaRecord {
    PathField name{};
    PathField dataDir{};
};

struct InstallState {
    PathField sourceDir{};
    PathField programSourceDir{};
    PathField setupDescriptionPath{};
    PathField programDir{};
    int installType = kMinimal;
    int systemType = kWindowsNT;
    // Set by the launcher menu when the user picked an edition entry.
    bool editionInstall = false;
    std::vector<AreaRecord> areas;
    // Set the first time an area's destination already holds a road network; from then on
    // no catalogues are copied.
    bool earlierNetwork = false;
};

} // namespace korva
