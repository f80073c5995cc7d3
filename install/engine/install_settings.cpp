#include "install/engine/install_settings.h"

#include "framework/profile.h"
#include "install/engine/platform_probes.h"
#include "install/engine/portable/settings_logic.h"

namespace korva {

namespace {
constexpr unsigned kSettingSize = 500;
}

int WriteInstallSettings(const InstallState& state, const std::string& iniPath) {
    const std::string setup = state.setupDescriptionPath;

    fw::WriteProfileText(
        iniPath, "Installazione", "Versione_di_KORVA",
        fw::ReadProfileString(setup, "Installazione", "Versione_di_KORVA", "3.0", kSettingSize));
    fw::WriteProfileText(iniPath, "Installazione", "Directory_di_KORVA", state.programDir);

    const std::string mapSet =
        MapSetName(fw::ReadProfileString(setup, "Installazione", "Cartine", "", kSettingSize));
    const std::string oldList =
        fw::ReadProfileString(iniPath, "Installazione", "Cartine", "", kSettingSize);
    fw::WriteProfileText(iniPath, "Installazione", "Cartine", AppendMapSetList(oldList, mapSet));

    struct Version {
        const char* key;
        const char* defaultValue;
    };
    for (const Version& version :
         {Version{"Versione_Rete", "3.04"}, Version{"Versione_Cartine", "1.0"},
          Version{"Versione_Cataloghi", "1.0"}}) {
        fw::WriteProfileText(iniPath, mapSet.c_str(), version.key,
                             fw::ReadProfileString(setup, mapSet.c_str(), version.key,
                                                   version.defaultValue, kSettingSize));
    }
    fw::WriteProfileText(iniPath, mapSet.c_str(), "Tipo_di_installazione",
                         std::to_string(state.installType));

    fw::WriteProfileText(iniPath, "Paths", "DirOfCD", state.sourceDir);
    fw::WriteProfileText(iniPath, "Patc", "Version", "3.04");
    return 1;
}

void ScaleDbMemorySettings(const std::string& mapSetPath, const PlatformProbes& probes) {
    if (probes.physicalMemory() <= kLargeMemoryThreshold) {
        return;
    }
    for (const char* key : kDbMemoryKeys) {
        const std::string pair =
            fw::ReadProfileString(mapSetPath, "DB_SETTINGS", key, kDefaultMemoryPair, 49);
        fw::WriteProfileText(mapSetPath, "DB_SETTINGS", key, ScaleMemoryPair(pair));
    }
}

void UpdateRecentFileList(const InstallState& state, const std::string& iniPath) {
    RecentFiles files;
    const char* keys[] = {"File1", "File2", "File3", "File4"};
    for (int i = 0; i < 4; ++i) {
        files[i] = fw::ReadProfileString(iniPath, "Recent File List", keys[i], "", 100);
    }
    for (const AreaRecord& area : state.areas) {
        PushRecentFile(files, JoinPath(area.dataDir, std::string(area.name) + ".vgr"));
    }
    for (int i = 0; i < 4; ++i) {
        fw::WriteProfileText(iniPath, "Recent File List", keys[i], files[i]);
    }
}

} // namespace korva
