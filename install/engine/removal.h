// Removal of an installed product: the installation directory found through korva.ini, its
// ordinary files deleted below it, korva.ini deleted and the Program Manager group deleted.
#pragma once

#include "install/engine/portable/removal_guard.h"

#include <windows.h>

#include <string>

namespace korva {

// 1 when the removal ran, 0 when there was nothing to remove: no korva.ini, no
// "INFO"/"KorvaDir" in it, no "korva.wmf" in the directory it names, or a directory that may
// not be emptied (see removal_guard.h: a relative name, a root, a system or shell folder or one
// holding it, anything inside the Windows directory, the installer's own medium, a mount point
// in the tree, or not the directory the installer recorded). The whole tree is judged before
// anything is deleted; nothing is deleted then. A file that cannot be deleted raises
// CFileException and stops the removal where it is.
int RemoveInstallation(const std::string& windowsDir);

// Deletes the files of an allowed plan, in its order. Each is checked again through the handle
// it is deleted by: a file that has become a link or a directory since it was judged is left.
// Raises CFileException when a file cannot be deleted.
void DeleteTreeFiles(const RemovalPlan& plan);

} // namespace korva
