#include "install/engine/closing_steps.h"

#include "install/engine/common_controls.h"
#include "install/engine/install_settings.h"
#include "install/engine/installation_run.h"
#include "install/engine/progman_client.h"

namespace korva {

void RunClosingSteps(InstallationRun& run) {
    UpdateRecentFileList(run.State(), run.SettingsFile());
    // Whether the group was made changes nothing that follows.
    InstallRequest& request = run.Request();
    CreateProgramGroup(request.owner, request.install);
    ReplaceCommonControls(request.install, request.windowsDir, request.doneMessageMode,
                          request.incompatibleWindows);
}

} // namespace korva
