// The directory of the running installer program file, where the CD's files are looked up.
#pragma once

#include "install/shared/portable/paths.h"

// Fills `directory` with the program file's directory, without a trailing backslash.
void GetInstallerDir(korva::PathField& directory);
