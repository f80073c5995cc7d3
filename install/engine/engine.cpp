#include "install/engine/engine.h"

#include "install/engine/common_controls.h"
#include "install/engine/installation_run.h"
#include "install/engine/removal.h"

namespace korva {

int Engine::RunInstallation(InstallRequest& request) {
    InstallationRun run(request, probes_);
    return run.Execute();
}

int Engine::RemoveInstallation(const std::string& windowsDir) {
    return korva::RemoveInstallation(windowsDir);
}

void Engine::ReplaceCommonControls(InstallRequest& request) {
    korva::ReplaceCommonControls(request.install, request.windowsDir, request.doneMessageMode,
                                 request.incompatibleWindows);
}

} // namespace korva
