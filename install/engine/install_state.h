// The state of one installation run, held by the cover window for as long as it lives.
#pragma once

#include "paths.h"

namespace korva {

enum InstallType { kInstallNone = 0, kMinimal = 1, kRecommended = 2, kComplete = 3 };
enum SystemType { kWindows95Family = 2, kWindowsNT = 3 };

struct InstallState {
    PathField sourceDir{};
    PathField programSourceDir{};
    PathField setupDescriptionPath{};
    PathField programDir{};
    int installType = kMinimal;
    int systemType = kWindowsNT;
    // Set by the launcher menu when the user picked an edition entry.
    int editionInstall = 0;
};

} // namespace korva
