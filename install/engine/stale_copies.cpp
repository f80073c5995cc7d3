#include "install/engine/stale_copies.h"

#include "framework/file_bytes.h"
#include "framework/handles.h"
#include "framework/portable/szdd.h"
#include "install/shared/portable/paths.h"

#include <array>

namespace korva {

namespace {

// A compressed source is expanded as it is copied; far above any compressed file of the CD.
constexpr std::uint32_t kCompressedSizeLimit = 16 * 1024 * 1024;

// Whether the file begins like a compressed one: only then is it read whole and expanded.
bool LooksCompressed(const std::string& path) {
    fw::UniqueFileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::array<std::uint8_t, kSzddHeaderSize> head{};
    DWORD read = 0;
    return file && ReadFile(file.Get(), head.data(), head.size(), &read, nullptr) &&
           read == head.size() && IsSzddStream(head);
}

} // namespace

bool IsInterruptedCopyOf(const std::string& copyPath, const std::string& sourceDir,
                         const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        const std::string source = JoinPath(sourceDir, name);
        if (fw::FileBeginsFile(copyPath, source)) {
            return true;
        }
        if (!LooksCompressed(source)) {
            continue;
        }
        const std::optional<std::vector<std::uint8_t>> bytes =
            fw::ReadWholeFile(source, kCompressedSizeLimit);
        if (bytes && IsSzddStream(*bytes)) {
            const SzddExpansion expanded = ExpandSzdd(*bytes);
            if (expanded.ok && fw::FileBegins(copyPath, expanded.data)) {
                return true;
            }
        }
    }
    return false;
}

} // namespace korva
