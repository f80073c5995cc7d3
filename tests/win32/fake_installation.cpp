#include "fake_installation.h"

#include "framework/file_exception.h"

namespace fake {

int RecordingEngine::RunInstallation(korva::InstallRequest& request) {
    ++seen.runs;
    seen.language = request.language;
    seen.editionInstall = request.install.editionInstall;
    seen.presetSourceDir = request.presetSourceDir;
    if (script.throwFileError) {
        throw CFileException(CFileException::accessDenied, "C:\\korva\\korva.exe");
    }
    request.doneMessageMode = script.doneMessageMode;
    request.incompatibleWindows = script.incompatibleWindows;
    return script.result;
}

int RecordingEngine::RemoveInstallation(const std::string&) {
    ++seen.removals;
    return script.result;
}

} // namespace fake
