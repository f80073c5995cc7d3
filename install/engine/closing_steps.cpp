#include "closing_steps.h"

#include "cover_dlg.h"
#include "install_settings.h"
#include "installation_run.h"
#include "progman_client.h"

namespace korva {

void RunClosingSteps(InstallationRun& run) {
    UpdateRecentFileList(run.State(), run.SettingsFile());
    // Whether the group was made changes nothing that follows.
    CreateProgramGroup(run.Cover());
    run.Cover().ReplaceCommonControls();
}

} // namespace korva
