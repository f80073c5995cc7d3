#include "fake_installation.h"

#include "cover_dlg.h"
#include "file_exception.h"

namespace fake {

InstallationScript script;
InstallationSeen seen;

void Reset() {
    script = {};
    seen = {};
}

} // namespace fake

int CCoverDlg::RunInstallation() {
    ++fake::seen.runs;
    fake::seen.language = language;
    fake::seen.editionInstall = install.editionInstall;
    fake::seen.presetSourceDir = presetSourceDir;
    if (fake::script.throwFileError) {
        throw CFileException(CFileException::accessDenied, "C:\\korva\\korva.exe");
    }
    doneMessageMode = fake::script.doneMessageMode;
    incompatibleWindows = fake::script.incompatibleWindows;
    return fake::script.result;
}

int CCoverDlg::RemoveInstallation() {
    ++fake::seen.removals;
    return fake::script.result;
}
