#include "install/engine/removal.h"

#include "framework/file_exception.h"
#include "framework/plain_file.h"
#include "install/engine/progman_client.h"
#include "install/engine/removal_survey.h"
#include "install/shared/portable/paths.h"

namespace korva {

namespace {

[[noreturn]] void ThrowLastError(const std::string& path) {
    const int cause = CFileException::CauseFromWin32Error(GetLastError());
    throw CFileException(cause == CFileException::none ? CFileException::genericException : cause,
                         path);
}

} // namespace

void DeleteTreeFiles(const RemovalPlan& plan) {
    if (plan.verdict != RemovalVerdict::allowed) {
        throw CFileException(CFileException::badPath, plan.directory);
    }
    for (const std::string& file : plan.files) {
        if (fw::DeletePlainFile(file) == fw::DeleteOutcome::failed) {
            ThrowLastError(file);
        }
    }
}

int RemoveInstallation(const std::string& windowsDir) {
    const RemovalPlan plan = JudgeRemoval(GatherRemovalFacts(windowsDir));
    if (plan.verdict != RemovalVerdict::allowed) {
        return 0;
    }
    DeleteTreeFiles(plan);
    // Judged a plain file before anything was deleted; a link there now is never deleted
    // through, and stops the removal like a file that cannot be deleted.
    const std::string settings = JoinPath(windowsDir, "korva.ini");
    switch (fw::DeletePlainFile(settings)) {
    case fw::DeleteOutcome::deleted:
        break;
    case fw::DeleteOutcome::notPlain:
        throw CFileException(CFileException::accessDenied, settings);
    case fw::DeleteOutcome::failed:
        ThrowLastError(settings);
    }
    DeleteProgramGroup();
    return 1;
}

} // namespace korva
