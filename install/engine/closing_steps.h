// What follows the last area of a completed installation: the map program's recent-file
// list, the Program Manager group and the common-controls library.
#pragma once

namespace korva {

class InstallationRun;

void RunClosingSteps(InstallationRun& run);

} // namespace korva
