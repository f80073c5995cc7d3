// One installation, from the source question to the last area: prompts, checks, directory
// creation, and the copy plan of every area.
#pragma once

#include "install/engine/copy_progress_dialog.h"
#include "install/engine/platform_probes.h"
#include "install/shared/installation_engine.h"
#include "install/shared/portable/install_state.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace korva {

class InstallationRun {
public:
    InstallationRun(InstallRequest& request, const PlatformProbes& probes);
    ~InstallationRun();

    // 1 when everything was installed, 0 when the user cancelled or aborted.
    int Execute();

    InstallRequest& Request() { return request_; }
    const PlatformProbes& Probes() const { return probes_; }
    InstallState& State() { return state_; }
    const std::string& InstallerDir() const { return installerDir_; }
    std::string SettingsFile() const;

    // The area's progress window, created by the copy plan and released when the area ends
    // or the run is left.
    CopyProgressDialog* Progress() { return progress_.get(); }
    CopyProgressDialog& OpenProgress();
    void ReleaseProgress();
    // Repaints the part of the cover window that a closed or hidden dialog covered.
    void RepaintCoverUnder(const RECT& screenRect);
    // Before copies of `names` of `sourceDir` into `destDir`, on the Windows 95 family: deletes
    // the temporary copies of those very files that an earlier run stopped part way left there
    // (what else is named like the platform's copies is not this installer's, and stays), and
    // gives the temporary files still there, for the copies into it to leave alone (null on
    // Windows NT, or when the directory cannot be resolved: each copy then lists it itself).
    const std::vector<std::string>* PrepareCopyDestination(const std::string& destDir,
                                                           const std::string& sourceDir,
                                                           const std::vector<std::string>& names);

private:
    bool ChooseSource();
    bool ChooseDestination();
    bool DiscoverAreas();
    bool PrepareArea(std::size_t index);
    bool ChooseInstallType(const std::string& areaSource);
    bool CheckDiskSpace(const std::string& areaSource);
    bool ChooseDataDir(std::size_t index, std::string& dataDir);
    bool CreateAreaDirectories(const std::string& dataDir);

    // Shows a path prompt until the user gives a path that fits or cancels (false); the
    // path is given in its absolute form.
    bool AskPath(unsigned promptId, const std::string& defaultText, std::string& typed);
    void SetSetupDescriptionPath();

    InstallRequest& request_;
    PlatformProbes probes_;
    InstallState& state_;
    std::string installerDir_;
    std::unique_ptr<CopyProgressDialog> progress_;
    // When the run started: a temporary file written since is not an earlier run's.
    FILETIME started_{};
    // By full path, in any case: the same directory however it is spelt.
    struct CaseInsensitiveLess {
        bool operator()(const std::string& a, const std::string& b) const;
    };
    struct PreparedDestination {
        std::vector<std::string> temporaryFiles;  // there before this run's copies into it
        std::vector<std::string> staleCandidates; // of those, the ones an earlier run may have left
    };
    std::map<std::string, PreparedDestination, CaseInsensitiveLess> preparedDestinations_;
};

} // namespace korva
