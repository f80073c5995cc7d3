// Removal of an installed product: the installation directory found through korva.ini, its
// ordinary files deleted below it, korva.ini deleted and the Program Manager group deleted.
#pragma once

#include <windows.h>

#include <string>

namespace korva {

// 1 when the removal ran, 0 when there was nothing to remove: no korva.ini, no
// "INFO"/"KorvaDir" in it, a directory that may not be emptied (see removal_target.h: a
// root, a system or shell folder or one holding it, a link, or not the directory the
// installer recorded), or no "korva.wmf" in the directory it names. Nothing is deleted then.
// A file that cannot be deleted raises CFileException and stops the removal where it is.
int RemoveInstallation(const std::string& windowsDir);

// Deletes the ordinary files of `directory` and of its subdirectories, subdirectories
// first. Read-only, hidden and system files stay, and so do the directories themselves;
// subdirectories whose names have an extension, or begin with a dot, are not entered, and
// neither are links and junctions. Works on the directory as the platform resolves it and
// never leaves it. `listBox` is the listing control to use; null to make one. Raises
// CFileException when `directory` cannot be resolved or is a root, or when a listed file
// cannot be deleted.
void DeleteTreeFiles(const std::string& directory, HWND listBox = nullptr);

} // namespace korva
