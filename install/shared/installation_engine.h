// What the cover window asks of the installation engine: one installation, one removal and
// the common-controls step, each on what the cover window hands over. The launcher knows the
// engine only through this interface, given to its windows when they are made (by the program:
// install/engine/engine.h; by tests: a recording stand-in).
#pragma once

#include "install/shared/portable/install_state.h"

#include <string>

class CWnd;

namespace korva {

// One installation as the cover window carries it: the run's state, the window that owns
// the run's dialogs and messages, what the user chose there, and the completion flags that
// choose the final message.
struct InstallRequest {
    InstallState& install;
    CWnd& owner;
    std::string windowsDir;      // where korva.ini lives
    std::string presetSourceDir; // empty: the run asks for the source
    int language;                // 1 Italiano, 2 English
    int& doneMessageMode;
    int& incompatibleWindows;
};

class InstallationEngine {
public:
    virtual ~InstallationEngine() = default;
    // 1 when installed, 0 when abandoned.
    virtual int RunInstallation(InstallRequest& request) = 0;
    // 1 when removed, 0 when nothing was found (korva.ini of `windowsDir`).
    virtual int RemoveInstallation(const std::string& windowsDir) = 0;
    // The common-controls check and its replacement at the next start; sets the flags.
    virtual void ReplaceCommonControls(InstallRequest& request) = 0;
};

} // namespace korva
