// The installer's engine: what the cover window asks of it (install/shared/installation_engine.h)
// carried out by the installation run, the removal and the common-controls step. The program
// hands it to the launcher's windows.
#pragma once

#include "install/engine/platform_probes.h"
#include "install/shared/installation_engine.h"

namespace korva {

class Engine final : public InstallationEngine {
public:
    // `probes`: where the free space and the memory the runs decide on come from.
    explicit Engine(PlatformProbes probes = {}) : probes_(probes) {}

    int RunInstallation(InstallRequest& request) override;
    int RemoveInstallation(const std::string& windowsDir) override;
    void ReplaceCommonControls(InstallRequest& request) override;

private:
    PlatformProbes probes_;
};

} // namespace korva
