// What the closing steps and the removal leave in the prefix outside the installation: the
// Program Manager group in the Start menu, the common-controls copy in the system directory
// and the restart rename list "wininit.ini". Every scenario starts and ends without them.
#pragma once

#include "common_controls_state.h"

#include <string>
#include <vector>

namespace e2e {

// The Start-menu folder of the group "KORVA".
std::string GroupFolder();
// The names of the files in the group folder, sorted; empty when there is no folder.
std::vector<std::string> GroupItems();
// The program a shortcut of the group starts ("" when it cannot be read).
std::string ItemTarget(const std::string& itemName);
// Removes the group folder and closes the folder windows Program Manager opened.
void RemoveGroup();
void CloseFolderWindows();
// Whether a folder window shows within the time.
bool WaitForFolderWindow(unsigned timeoutMs);

using testfs::LibraryPath; // <system>\comctl32.dll
using testfs::SystemDir;
using testfs::WininitPath;
std::string TemporaryPath(); // <system>\comctl32.tm2
// The names of the version installer's temporary copies ("ver*.tmp") in the system directory.
std::vector<std::string> VersionTemporaries();
// The lines of the [rename] section of "wininit.ini".
std::vector<std::string> RenameLines();
// Removes the installer's copy and its rename line (a line left behind would replace the
// prefix's own library at the next start of the wineserver), and "wininit.ini" with it
// when nothing else is in it.
void CleanCommonControls();

} // namespace e2e
