// The installation run and the removal are not part of the installer yet: the run ends as
// abandoned and the removal finds nothing to remove.
#include "cover_dlg.h"

int CCoverDlg::RunInstallation() {
    return 0;
}

int CCoverDlg::RemoveInstallation() {
    return 0;
}
