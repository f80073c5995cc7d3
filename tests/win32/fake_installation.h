// Stands in for the installation engine in tests of the launcher: records what the cover
// window handed over and ends the run as the test asks.
#pragma once

#include "install/shared/installation_engine.h"

#include <string>

namespace fake {

struct InstallationScript {
    int result = 1;
    int doneMessageMode = 1;
    int incompatibleWindows = 0;
    bool throwFileError = false;
};

struct InstallationSeen {
    int runs = 0;
    int removals = 0;
    int language = 0;
    int editionInstall = -1;
    std::string presetSourceDir;
};

class RecordingEngine final : public korva::InstallationEngine {
public:
    int RunInstallation(korva::InstallRequest& request) override;
    int RemoveInstallation(const std::string& windowsDir) override;
    void ReplaceCommonControls(korva::InstallRequest&) override {}

    InstallationScript script;
    InstallationSeen seen;
};

} // namespace fake
