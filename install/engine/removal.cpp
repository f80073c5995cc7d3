#include "removal.h"

#include "file_exception.h"
#include "file_remove.h"
#include "paths.h"
#include "plain_file.h"
#include "progman_client.h"
#include "removal_survey.h"

namespace korva {

void DeleteTreeFiles(const RemovalPlan& plan) {
    if (plan.verdict != RemovalVerdict::allowed) {
        throw CFileException(CFileException::badPath, plan.directory);
    }
    for (const std::string& file : plan.files) {
        if (fw::DeletePlainFile(file) == fw::DeleteOutcome::failed) {
            const int cause = CFileException::CauseFromWin32Error(GetLastError());
            throw CFileException(
                cause == CFileException::none ? CFileException::genericException : cause, file);
        }
    }
}

int RemoveInstallation(const std::string& windowsDir) {
    const RemovalPlan plan = JudgeRemoval(GatherRemovalFacts(windowsDir));
    if (plan.verdict != RemovalVerdict::allowed) {
        return 0;
    }
    DeleteTreeFiles(plan);
    fw::RemoveFile(JoinPath(windowsDir, "korva.ini"));
    DeleteProgramGroup();
    return 1;
}

} // namespace korva
