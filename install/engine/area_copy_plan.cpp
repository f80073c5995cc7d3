#include "install/engine/area_copy_plan.h"

#include "framework/file_probe.h"
#include "framework/profile.h"
#include "framework/resource_strings.h"
#include "framework/wnd.h"
#include "install/engine/copy_progress_dialog.h"
#include "install/engine/directory_levels.h"
#include "install/engine/file_copy.h"
#include "install/engine/file_listing.h"
#include "install/engine/install_settings.h"
#include "install/engine/installation_run.h"
#include "install/engine/portable/setup_values.h"
#include "mapdb/portable/edition_info.h"
#include "resources/install/resource.h"

namespace korva {

namespace {

std::string Sub(const std::string& dir, const char* name) {
    return JoinPath(dir, name);
}

bool IsCopyingNetwork(int installType) {
    return installType == kRecommended || installType == kComplete;
}

} // namespace

AreaCopyPlan::AreaCopyPlan(InstallationRun& run, std::size_t areaIndex)
    : run_(run), state_(run.State()), area_(state_.areas[areaIndex].name),
      areaSource_(JoinPath(state_.sourceDir, area_)),
      dataDir_(NormalizePath(state_.areas[areaIndex].dataDir)) {}

bool AreaCopyPlan::Execute() {
    progress_ = &run_.OpenProgress();
    if (!CopyProgramFiles() || !CopyProgramExtras() || !CopyNetwork() || !CopyCatalogues() ||
        !CopyMapFiles() || !CopyBitmapTree() || !CopyImages()) {
        run_.ReleaseProgress();
        return false;
    }
    RECT covered{};
    if (HWND window = progress_->GetSafeHwnd()) {
        GetWindowRect(window, &covered);
    }
    progress_->Hide();
    run_.RepaintCoverUnder(covered);
    WriteAreaSettings();
    run_.ReleaseProgress();
    return true;
}

bool AreaCopyPlan::CopyFiles(const std::string& sourceDir, const std::string& destDir,
                             const std::vector<std::string>& names, bool pollCancel) {
    if (names.empty()) {
        return true;
    }
    const std::vector<std::string>* earlierTemporaryFiles =
        run_.PrepareCopyDestination(destDir, sourceDir, names);
    for (const std::string& name : names) {
        progress_->ShowFileName(name);
        long copied = CopyInstallFile(state_, sourceDir, name, destDir, name, kWholeFileCopy,
                                      run_.Progress(), earlierTemporaryFiles);
        if (copied == -1) {
            return false;
        }
        progress_->Advance(copied);
        if (pollCancel && cancelPoll_.Check(progress_)) {
            return false;
        }
    }
    return true;
}

bool AreaCopyPlan::CopyListedGroup(const std::string& sourceDir, const std::string& destDir,
                                   const std::vector<std::string>& listing,
                                   const std::string& checkDir, std::uint32_t knownTotal) {
    const std::uint32_t total =
        CheckSpaceForFiles(sourceDir, checkDir, listing, knownTotal, run_.Probes());
    if (total == 0) {
        return false;
    }
    progress_->SetTotal(total);
    progress_->Repaint();
    return CopyFiles(sourceDir, destDir, listing, true);
}

bool AreaCopyPlan::CopyProgramFiles() {
    progress_->SetTotal(SumFileSizes(state_.programSourceDir, "korva.exe,posinet.exe,korva.hlp"));
    return CopyFiles(state_.programSourceDir, state_.programDir,
                     {"korva.exe", "POSINET.EXE", "korva.hlp"}, false);
}

bool AreaCopyPlan::CopyProgramExtras() {
    for (const char* pattern : {"*.bmp", "*.wmf", "*.dll", "tutorial.*"}) {
        const std::vector<std::string> listing =
            ListFiles(JoinPath(state_.programSourceDir, pattern));
        if (!CopyListedGroup(state_.programSourceDir, state_.programDir, listing, dataDir_, 0)) {
            return false;
        }
    }
    return true;
}

bool AreaCopyPlan::CopyNetwork() {
    if (!IsCopyingNetwork(state_.installType)) {
        return true;
    }
    const std::string destRete = Sub(dataDir_, "rete");
    if (!ListFiles(Sub(destRete, "*.dat")).empty()) {
        state_.earlierNetwork = true;
        int answer = run_.Request().owner.OwnedMessageBox(
            fw::LoadResourceString(IDS_EARLIER_NETWORK), fw::LoadResourceString(IDS_COVER_CAPTION),
            MB_YESNO | MB_ICONQUESTION);
        if (answer != IDYES) {
            return true;
        }
    }
    const std::string sourceRete = Sub(areaSource_, "rete");
    const std::vector<std::string> listing = ListFiles(Sub(sourceRete, "*.*"));
    if (listing.empty()) {
        return true;
    }
    const std::uint32_t known = ParseUnsignedValue(
        fw::ReadProfileString(Sub(sourceRete, "setup.inf"), "INFO", "sizeOfNetInBytes", "0", 50));
    const std::uint32_t total =
        CheckSpaceForFiles(sourceRete, dataDir_, listing, known, run_.Probes());
    if (total == 0) {
        return false;
    }
    progress_->SetTotal(total);
    progress_->Repaint();
    progress_->ShowEditionLine(FormatEditionInfo(QueryEditionInfo(sourceRete)));
    return CopyFiles(sourceRete, destRete, listing, true);
}

bool AreaCopyPlan::CopyCatalogues() {
    if (!IsCopyingNetwork(state_.installType) || state_.earlierNetwork) {
        return true;
    }
    const std::string sourceCatalog = Sub(areaSource_, "catalog");
    const std::vector<std::string> listing = ListFiles(Sub(sourceCatalog, "*.*"));
    if (listing.empty()) {
        return true;
    }
    const std::uint32_t known = static_cast<std::uint32_t>(ParseSignedValue(fw::ReadProfileString(
        Sub(state_.programSourceDir, "info.txt"), "Cataloghi", "Numero_di_bytes", "0", 20)));
    return CopyListedGroup(sourceCatalog, Sub(dataDir_, "catalog"), listing, dataDir_, known);
}

bool AreaCopyPlan::CopyMapFiles() {
    compensation_ = fw::CanOpenForReading(Sub(areaSource_, (area_ + ".cmp").c_str()));
    progress_->SetTotal(SumFileSizes(areaSource_, MapFileSizeList(area_, compensation_)));
    return CopyFiles(areaSource_, dataDir_, MapFilesToCopy(area_, compensation_), false);
}

std::uint32_t AreaCopyPlan::BitmapTreeTotal() const {
    const std::string sourceCartine = Sub(areaSource_, "cartine");
    const std::string declared =
        fw::ReadProfileString(Sub(sourceCartine, "setup.inf"), "INFO", "sizeOfBmpsInBytes", "", 50);
    if (!declared.empty()) {
        return ParseUnsignedValue(declared);
    }
    // Not declared on the CD: the tree's own sizes give the total.
    std::uint32_t total = 0;
    for (const std::string& sub : ListSubdirectories(sourceCartine)) {
        const std::string dir = JoinPath(sourceCartine, sub);
        for (const std::string& name : ListFiles(Sub(dir, "*.*"))) {
            total += static_cast<std::uint32_t>(FileSizeOf(JoinPath(dir, name)));
        }
    }
    for (const std::string& name : ListFiles(Sub(sourceCartine, "*.*"))) {
        total += static_cast<std::uint32_t>(FileSizeOf(JoinPath(sourceCartine, name)));
    }
    return total;
}

bool AreaCopyPlan::CopyBitmapTree() {
    if (state_.installType != kComplete) {
        return true;
    }
    const std::string sourceCartine = Sub(areaSource_, "cartine");
    const std::string destCartine = Sub(dataDir_, "cartine");
    const std::uint32_t known = BitmapTreeTotal();
    const std::vector<std::string> subdirectories = ListSubdirectories(sourceCartine);
    if (CheckSpaceForFiles(sourceCartine, destCartine, subdirectories, known, run_.Probes()) == 0) {
        return false;
    }
    progress_->SetTotal(known);
    progress_->Repaint();
    for (const std::string& sub : subdirectories) {
        const std::string source = JoinPath(sourceCartine, sub);
        const std::string dest = JoinPath(destCartine, sub);
        if (!EnsureDirectory(dest)) {
            return false;
        }
        if (!CopyFiles(source, dest, ListFiles(Sub(source, "*.*")), true)) {
            return false;
        }
    }
    return CopyFiles(sourceCartine, destCartine, ListFiles(Sub(sourceCartine, "*.*")), true);
}

bool AreaCopyPlan::CopyImages() {
    if (!IsCopyingNetwork(state_.installType)) {
        return true;
    }
    const std::string sourceImages = Sub(areaSource_, "immagini");
    const std::string destImages = Sub(dataDir_, "immagini");
    const std::vector<std::string> listing = ListFiles(Sub(sourceImages, "*.*"));
    if (listing.empty()) {
        return true;
    }
    return CopyListedGroup(sourceImages, destImages, listing, destImages, 0);
}

void AreaCopyPlan::WriteAreaSettings() {
    const std::string settings = run_.SettingsFile();
    const std::string mapSet = Sub(dataDir_, (area_ + ".vgr").c_str());
    WriteInstallSettings(state_, settings);
    fw::WriteProfileText(settings, "Records", "Language", std::to_string(run_.Request().language));
    ScaleDbMemorySettings(mapSet, run_.Probes());
    if (state_.installType == kMinimal) {
        fw::WriteProfileText(mapSet, "PATHS", "dirOfNet", Sub(areaSource_, "rete"));
        fw::WriteProfileText(mapSet, "PATHS", "dirOfImage", Sub(areaSource_, "immagini"));
        fw::WriteProfileText(mapSet, "PATHS", "dirOfCatalog", Sub(areaSource_, "catalog"));
    }
    fw::WriteProfileText(mapSet, "DISKS", "Disk1",
                         state_.installType == kComplete ? Sub(dataDir_, "cartine")
                                                         : Sub(areaSource_, "cartine"));
    if (compensation_) {
        fw::WriteProfileText(mapSet, "FLAGS", "Compensation", "1");
    }
}

} // namespace korva
