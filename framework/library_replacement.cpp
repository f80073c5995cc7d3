#include "framework/library_replacement.h"

#include "framework/file_bytes.h"
#include "framework/handles.h"
#include "framework/plain_file.h"
#include "framework/portable/szdd.h"
#include "framework/restart_rename.h"

namespace fw {

bool CommonControlsTooOld() {
    UniqueLibrary library(LoadLibraryA("COMCTL32.DLL"));
    return library && GetProcAddress(library.Get(), "DllGetVersion") == nullptr;
}

std::optional<std::vector<std::uint8_t>> LibraryCarriedIn(std::span<const std::uint8_t> file) {
    if (!korva::IsSzddStream(file)) {
        return std::vector<std::uint8_t>(file.begin(), file.end());
    }
    korva::SzddExpansion library = korva::ExpandSzdd(file);
    if (!library.ok) {
        return std::nullopt;
    }
    return std::move(library.data);
}

bool ScheduleReplacement(const std::string& wininitPath, const std::string& library,
                         const std::string& replacement, std::span<const std::uint8_t> expected) {
    // The restart puts whatever the file holds in place of the library: an earlier file, a
    // partial copy or a link must not be scheduled, and an instruction that did not reach the
    // disk schedules nothing at all.
    return StateOfName(replacement) == NameState::plainFile && FileHolds(replacement, expected) &&
           WriteRestartRename(wininitPath, library, replacement);
}

} // namespace fw
