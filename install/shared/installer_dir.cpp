#include "install/shared/installer_dir.h"

#include <windows.h>

void GetInstallerDir(korva::PathField& directory) {
    char modulePath[korva::kPathSize] = {};
    DWORD length = GetModuleFileNameA(nullptr, modulePath, sizeof modulePath);
    if (length == 0 || length >= sizeof modulePath) {
        directory[0] = '\0';
        return;
    }
    korva::CopyToField(directory, korva::DirectoryOfModule(modulePath));
}
