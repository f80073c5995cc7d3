// What is copied for one map area, in which order, with which totals and questions, and the
// settings written when the area is done.
#pragma once

#include "install/engine/cancel_poll.h"

#include <cstdint>
#include <string>
#include <vector>

class CopyProgressDialog;

namespace korva {

class InstallationRun;
struct InstallState;

class AreaCopyPlan {
public:
    AreaCopyPlan(InstallationRun& run, std::size_t areaIndex);

    // Copies the area and writes its settings; false when the run is to be abandoned.
    bool Execute();

private:
    bool CopyProgramFiles();
    bool CopyProgramExtras();
    bool CopyNetwork();
    bool CopyCatalogues();
    bool CopyMapFiles();
    bool CopyBitmapTree();
    bool CopyImages();
    void WriteAreaSettings();

    // Space check, total and copy of one listed group; false to abandon.
    bool CopyListedGroup(const std::string& sourceDir, const std::string& destDir,
                         const std::vector<std::string>& listing, const std::string& checkDir,
                         std::uint32_t knownTotal);
    // Copies listed files with name, advance and cancel poll; false to abandon.
    bool CopyFiles(const std::string& sourceDir, const std::string& destDir,
                   const std::vector<std::string>& names, bool pollCancel);
    std::uint32_t BitmapTreeTotal() const;

    InstallationRun& run_;
    InstallState& state_;
    CopyProgressDialog* progress_ = nullptr;
    CancelPoll cancelPoll_;
    std::string area_;
    std::string areaSource_;
    std::string dataDir_;
    bool compensation_ = false;
};

} // namespace korva
