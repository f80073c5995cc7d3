// The last step of an installation: when the machine's common-controls library is too old
// for the product (it has no "DllGetVersion"), the library of the CD is copied under a
// temporary name into the system directory and "wininit.ini" is told to put it in place at
// the next start. The outcome chooses the installation's final message.
#pragma once

#include "install/shared/portable/install_state.h"

#include <string>

namespace korva {

// The system directory's library and the temporary name of its replacement, in the directory
// the restart finds them in (under WoW64, the 32-bit system directory by its 64-bit name).
std::string CommonControlsLibraryPath();
std::string CommonControlsTemporaryPath();

// True when `copyPath` holds, byte for byte, the library that `sourcePath` carries: the
// source's own bytes, or their expansion when the source is SZDD-compressed (the version
// installation expands such a source as it copies it).
bool HoldsLibraryOf(const std::string& copyPath, const std::string& sourcePath);

// Checks the library and schedules its replacement. `doneMessageMode` is cleared when the
// library is too old; `incompatibleWindows` is set when the user abandoned the copy, when the
// file under the temporary name is not a plain file holding the CD's library, or when the
// restart instruction did not reach the disk (then no replacement is scheduled and a copy this
// step made is deleted again).
void ReplaceCommonControls(const InstallState& state, const std::string& windowsDir,
                           int& doneMessageMode, int& incompatibleWindows);

} // namespace korva
