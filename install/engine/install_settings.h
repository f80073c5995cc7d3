// The settings an installation leaves: korva.ini in the Windows directory and the memory
// settings of an area's map-set file.
#pragma once

#include "install/engine/platform_probes.h"
#include "install/shared/portable/install_state.h"

#include <string>

namespace korva {

// Writes the installed version, program directory, map-set list, map-set versions and type,
// the CD's location and the patch level into korva.ini (`iniPath`). Returns 1.
int WriteInstallSettings(const InstallState& state, const std::string& iniPath);

// Enlarges the ten database memory pairs of a map-set file on machines with more than
// 33,500,000 bytes of physical memory (as `probes` tell it).
void ScaleDbMemorySettings(const std::string& mapSetPath, const PlatformProbes& probes = {});

// Pushes each installed area's map-set file onto the map program's recent-file list.
void UpdateRecentFileList(const InstallState& state, const std::string& iniPath);

} // namespace korva
