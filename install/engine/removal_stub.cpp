// The removal is not part of the installer yet: it finds nothing to remove.
#include "cover_dlg.h"

int CCoverDlg::RemoveInstallation() {
    return 0;
}
