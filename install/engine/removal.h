// Removal of an installed product: the installation directory found through korva.ini, its
// ordinary files deleted below it, korva.ini deleted and the Program Manager group deleted.
#pragma once

#include <windows.h>

#include <string>

namespace korva {

// 1 when the removal ran, 0 when there was nothing to remove: no korva.ini, no
// "INFO"/"KorvaDir" in it, a directory that may not be emptied (a root, or one holding
// Windows), or no "korva.wmf" in the directory it names. A file that cannot be deleted
// raises CFileException and stops the removal where it is.
int RemoveInstallation(const std::string& windowsDir);

// Deletes the ordinary files of `directory` and of its subdirectories, subdirectories
// first. Read-only, hidden and system files stay, and so do the directories themselves;
// subdirectories whose names have an extension, or begin with a dot, are not entered.
// `listBox` is the listing control of the outer call; null there. Raises CFileException
// when a listed file cannot be deleted.
void DeleteTreeFiles(const std::string& directory, HWND listBox = nullptr);

} // namespace korva
