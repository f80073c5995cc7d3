#include "install/engine/installation_run.h"

#include "framework/app.h"
#include "framework/file_probe.h"
#include "framework/plain_file.h"
#include "framework/profile.h"
#include "framework/resource_strings.h"
#include "framework/version_install.h"
#include "install/engine/area_copy_plan.h"
#include "install/engine/closing_steps.h"
#include "install/engine/directory_levels.h"
#include "install/engine/file_listing.h"
#include "install/engine/guarded_folders.h"
#include "install/engine/install_type_dialog.h"
#include "install/engine/path_prompt_dialog.h"
#include "install/engine/platform_probes.h"
#include "install/engine/portable/removal_guard.h"
#include "install/engine/portable/setup_values.h"
#include "install/engine/removal_survey.h"
#include "install/engine/stale_copies.h"
#include "install/shared/installer_dir.h"
#include "resources/install/resource.h"

namespace korva {

namespace {

constexpr unsigned kSizeValueLength = 50;

std::uint32_t ReadSize(const std::string& file, const char* key, const char* defaultValue) {
    return ParseUnsignedValue(
        fw::ReadProfileString(file, "INFO", key, defaultValue, kSizeValueLength));
}

// The map program reads the paths the run writes from any directory: a relative path is
// made absolute the way every file operation on it would take it, from the current
// directory. Empty when the full path does not fit a path field.
std::string AbsolutePath(const std::string& path) {
    const std::string full = fw::FullPathOf(path);
    return full.size() < kPathSize ? full : std::string();
}

} // namespace

InstallationRun::InstallationRun(InstallRequest& request, const PlatformProbes& probes)
    : request_(request), probes_(probes), state_(request.install) {
    PathField directory;
    GetInstallerDir(directory);
    installerDir_ = directory;
}

InstallationRun::~InstallationRun() {
    ReleaseProgress();
}

std::string InstallationRun::SettingsFile() const {
    return JoinPath(request_.windowsDir, "korva.ini");
}

CopyProgressDialog& InstallationRun::OpenProgress() {
    ReleaseProgress();
    progress_ = std::make_unique<CopyProgressDialog>();
    progress_->Open(request_.owner.GetSafeHwnd());
    return *progress_;
}

void InstallationRun::ReleaseProgress() {
    if (progress_) {
        progress_->Release();
        progress_.reset();
    }
}

void InstallationRun::RepaintCoverUnder(const RECT& screenRect) {
    HWND cover = request_.owner.GetSafeHwnd();
    if (!cover || IsRectEmpty(&screenRect)) {
        return;
    }
    RECT area = screenRect;
    MapWindowPoints(nullptr, cover, reinterpret_cast<POINT*>(&area), 2);
    InvalidateRect(cover, &area, TRUE);
    UpdateWindow(cover);
}

bool InstallationRun::CaseInsensitiveLess::operator()(const std::string& a,
                                                      const std::string& b) const {
    return _stricmp(a.c_str(), b.c_str()) < 0;
}

const std::vector<std::string>*
InstallationRun::PrepareCopyDestination(const std::string& destDir, const std::string& sourceDir,
                                        const std::vector<std::string>& names) {
    if (state_.systemType != kWindows95Family) {
        return nullptr;
    }
    const std::string full = fw::FullPathOf(destDir);
    if (full.empty()) {
        return nullptr;
    }
    auto prepared = preparedDestinations_.find(full);
    if (prepared == preparedDestinations_.end()) {
        // Listed once, before the first copy into the directory: a listing before every file
        // would cost a scan of the whole directory per file.
        prepared = preparedDestinations_
                       .emplace(full, PreparedDestination{fw::ListTemporaryFiles(full),
                                                          fw::StaleTemporaryFiles(full, started_)})
                       .first;
    }
    PreparedDestination& destination = prepared->second;
    std::erase_if(destination.staleCandidates, [&](const std::string& name) {
        const std::string path = JoinPath(full, name);
        if (!IsInterruptedCopyOf(path, sourceDir, names) ||
            fw::DeletePlainFile(path) != fw::DeleteOutcome::deleted) {
            return false;
        }
        std::erase_if(destination.temporaryFiles, [&](const std::string& other) {
            return _stricmp(other.c_str(), name.c_str()) == 0;
        });
        return true;
    });
    return &destination.temporaryFiles;
}

int InstallationRun::Execute() {
    GetSystemTimeAsFileTime(&started_);
    preparedDestinations_.clear();
    state_.systemType = (GetVersion() & 0x80000000u) ? kWindows95Family : kWindowsNT;
    state_.areas.clear();
    state_.earlierNetwork = false;

    if (!ChooseSource()) {
        return 0;
    }
    CopyToField(state_.programSourceDir,
                state_.editionInstall ? installerDir_ : std::string(state_.sourceDir));
    if (!ChooseDestination() || !DiscoverAreas()) {
        return 0;
    }
    for (std::size_t index = 0; index < state_.areas.size(); ++index) {
        if (!PrepareArea(index)) {
            return 0;
        }
        AreaCopyPlan plan(*this, index);
        if (!plan.Execute()) {
            ReleaseProgress();
            return 0;
        }
    }
    RunClosingSteps(*this);
    return 1;
}

void InstallationRun::SetSetupDescriptionPath() {
    const std::string onSource = JoinPath(state_.sourceDir, "Setup.inf");
    const std::string path =
        fw::CanOpenForReading(onSource) ? onSource : JoinPath(installerDir_, "Setup.inf");
    if (!CopyToField(state_.setupDescriptionPath, path)) {
        state_.setupDescriptionPath[0] = '\0';
    }
}

bool InstallationRun::AskPath(unsigned promptId, const std::string& defaultText,
                              std::string& typed) {
    std::string text = defaultText;
    for (;;) {
        PathPromptDialog prompt;
        prompt.prompt_ = fw::LoadResourceString(promptId);
        prompt.text_ = text;
        INT_PTR answer = prompt.DoModal();
        RepaintCoverUnder(prompt.lastRect_);
        if (answer != IDOK) {
            return false;
        }
        const std::string absolute = prompt.text_.empty() ? "" : AbsolutePath(prompt.text_);
        if (prompt.text_.empty() || !absolute.empty()) {
            typed = absolute;
            return true;
        }
        AppMessageBox(
            fw::FormatText(fw::LoadResourceString(IDS_PATH_TOO_LONG).c_str(), prompt.text_.c_str()),
            MB_OK | MB_ICONEXCLAMATION);
        text = prompt.text_;
    }
}

bool InstallationRun::ChooseSource() {
    if (!request_.presetSourceDir.empty()) {
        const std::string absolute = AbsolutePath(request_.presetSourceDir);
        if (absolute.empty()) {
            AppMessageBox(fw::FormatText(fw::LoadResourceString(IDS_PATH_TOO_LONG).c_str(),
                                         request_.presetSourceDir),
                          MB_OK | MB_ICONEXCLAMATION);
            return false;
        }
        CopyToField(state_.sourceDir, NormalizePath(absolute));
        SetSetupDescriptionPath();
        return true;
    }
    for (;;) {
        std::string typed;
        if (!AskPath(IDS_PROMPT_SOURCE, installerDir_, typed)) {
            return false;
        }
        CopyToField(state_.sourceDir, NormalizePath(typed));
        SetSetupDescriptionPath();
        if (fw::CanOpenForReading(JoinPath(state_.sourceDir, "korva.ini")) &&
            fw::CanOpenForReading(JoinPath(state_.sourceDir, "korva.exe"))) {
            return true;
        }
        request_.owner.OwnedMessageBox(
            fw::FormatText(fw::LoadResourceString(IDS_SOURCE_UNRECOGNISED).c_str(),
                           state_.sourceDir),
            fw::LoadResourceString(IDS_COVER_CAPTION), MB_OK);
    }
}

bool InstallationRun::ChooseDestination() {
    std::string text = "C:\\korva";
    for (;;) {
        std::string typed;
        if (!AskPath(IDS_PROMPT_DESTINATION, text, typed)) {
            return false;
        }
        const std::string destination = NormalizePath(typed);
        // What is installed can be removed: a directory the removal would refuse to empty (a
        // root, a system or shell folder, anything inside the Windows directory) is no place
        // for the product, whose removal would delete other programs' files there.
        if (JudgeDestination(GatherDestinationFacts(destination),
                             GatherGuardedFolders(request_.windowsDir)) ==
            RemovalVerdict::allowed) {
            CopyToField(state_.programDir, destination);
            return EnsureDirectory(state_.programDir);
        }
        AppMessageBox(fw::FormatText(fw::LoadResourceString(IDS_DESTINATION_REFUSED).c_str(),
                                     destination.c_str()),
                      MB_OK | MB_ICONEXCLAMATION);
        text = destination;
    }
}

bool InstallationRun::DiscoverAreas() {
    for (const std::string& name : ListSubdirectories(state_.sourceDir)) {
        if (IsExcludedAreaName(name)) {
            continue;
        }
        AreaRecord record;
        if (CopyToField(record.name, name)) {
            state_.areas.push_back(record);
        }
    }
    if (state_.areas.empty()) {
        AppMessageBox(IDS_NO_AREAS, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}

bool InstallationRun::PrepareArea(std::size_t index) {
    const std::string areaSource = JoinPath(state_.sourceDir, state_.areas[index].name);
    state_.installType = kRecommended;
    if (index == 0 && !ChooseInstallType(areaSource)) {
        return false;
    }
    if (!CheckDiskSpace(areaSource)) {
        return false;
    }
    std::string dataDir;
    if (!ChooseDataDir(index, dataDir)) {
        return false;
    }
    return CreateAreaDirectories(dataDir);
}

bool InstallationRun::ChooseInstallType(const std::string& areaSource) {
    const std::string reteSetup = JoinPath(JoinPath(areaSource, "rete"), "setup.inf");
    const std::string cartineSetup = JoinPath(JoinPath(areaSource, "cartine"), "setup.inf");
    const std::uint32_t net = ReadSize(reteSetup, "sizeOfNet", "30");
    const std::uint32_t bitmaps = ReadSize(cartineSetup, "sizeOfBmps", "500");

    InstallTypeDialog dialog;
    dialog.minimalText_ = fw::LoadResourceString(IDS_TYPE_MINIMAL_TEXT);
    dialog.recommendedText_ = fw::FormatText(
        fw::LoadResourceString(IDS_TYPE_RECOMMENDED_TEXT).c_str(), static_cast<unsigned long>(net));
    dialog.completeText_ = fw::FormatText(fw::LoadResourceString(IDS_TYPE_COMPLETE_TEXT).c_str(),
                                          static_cast<unsigned long>(net + bitmaps));
    dialog.DoModal();
    if (dialog.type_ == kInstallNone) {
        return false;
    }
    state_.installType = dialog.type_;
    return true;
}

bool InstallationRun::CheckDiskSpace(const std::string& areaSource) {
    const std::uint32_t net =
        ReadSize(JoinPath(JoinPath(areaSource, "rete"), "setup.inf"), "sizeOfNet", "50");
    const std::uint32_t bitmaps =
        ReadSize(JoinPath(JoinPath(areaSource, "cartine"), "setup.inf"), "sizeOfBmps", "500");
    const std::uint32_t needed = SpaceNeeded(state_.installType, net, bitmaps);
    if (!HasDriveLetter(state_.programDir)) {
        return true;
    }
    const std::string root = DriveRootOf(state_.programDir);
    while (probes_.freeBytes(root) < needed) {
        switch (AppMessageBox(IDS_DISK_SPACE_RUN, MB_ABORTRETRYIGNORE | MB_ICONEXCLAMATION)) {
        case IDABORT:
            return false;
        case IDIGNORE:
            return true;
        default:
            break; // Retry: check again
        }
    }
    return true;
}

bool InstallationRun::ChooseDataDir(std::size_t index, std::string& dataDir) {
    AreaRecord& area = state_.areas[index];
    std::string typed = JoinPath(state_.programDir, area.name);
    if (!state_.editionInstall && !AskPath(IDS_PROMPT_DATA_DIR, typed, typed)) {
        return false;
    }
    if (!CopyToField(area.dataDir, typed)) {
        // The default itself is too long (a long program directory and area name).
        AppMessageBox(
            fw::FormatText(fw::LoadResourceString(IDS_PATH_TOO_LONG).c_str(), typed.c_str()),
            MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    dataDir = NormalizePath(typed);
    return EnsureDirectory(dataDir);
}

bool InstallationRun::CreateAreaDirectories(const std::string& dataDir) {
    if (state_.installType == kComplete && !EnsureDirectory(JoinPath(dataDir, "cartine"))) {
        return false;
    }
    if (state_.installType == kRecommended || state_.installType == kComplete) {
        const std::string rete = JoinPath(dataDir, "rete");
        for (const std::string& dir :
             {rete, JoinPath(rete, "Temp"), JoinPath(rete, "Backup"), JoinPath(dataDir, "catalog"),
              JoinPath(dataDir, "immagini")}) {
            if (!EnsureDirectory(dir)) {
                return false;
            }
        }
    }
    return true;
}

} // namespace korva
