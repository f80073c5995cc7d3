// The temporary copies an earlier run of this installer left in a directory it copies into
// when it was stopped part way: the platform's version installation writes each file under a
// temporary name first. Only a copy of one of the files this run copies there counts as the
// installer's own; a user's file of that name is not.
#pragma once

#include <string>
#include <vector>

namespace korva {

// True when `copyPath` holds the beginning of the file `<sourceDir>\<name>` for one of `names`,
// as the version installation writes it (a compressed source expanded), and is not empty.
bool IsInterruptedCopyOf(const std::string& copyPath, const std::string& sourceDir,
                         const std::vector<std::string>& names);

} // namespace korva
