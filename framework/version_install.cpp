#include "framework/version_install.h"

#include "framework/directory_listing.h"
#include "framework/handles.h"
#include "framework/plain_file.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace fw {

bool IsTemporaryName(const std::string& name) {
    constexpr std::size_t kAround = 7; // "ver" and ".tmp"
    if (name.size() < kAround + 1 || name.size() > kAround + 4 ||
        _strnicmp(name.c_str(), "ver", 3) != 0 ||
        _stricmp(name.c_str() + name.size() - 4, ".tmp") != 0) {
        return false;
    }
    return std::all_of(name.begin() + 3, name.end() - 4, [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    });
}

namespace {

constexpr DWORD kNotAPlainFile = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;

// A plain file at its place, opened alone (nobody writing it), last written before `before`.
bool IsStaleTemporaryFile(const std::string& path, const FILETIME& before) {
    if (StateOfName(path) != NameState::plainFile) {
        return false;
    }
    UniqueFileHandle file(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    BY_HANDLE_FILE_INFORMATION information;
    return file && GetFileInformationByHandle(file.Get(), &information) &&
           !(information.dwFileAttributes & kNotAPlainFile) &&
           CompareFileTime(&information.ftLastWriteTime, &before) < 0;
}

bool Contains(const std::vector<std::string>& names, const std::string& name) {
    return std::any_of(names.begin(), names.end(), [&](const std::string& other) {
        return _stricmp(other.c_str(), name.c_str()) == 0;
    });
}

std::vector<std::string> TemporaryFiles(const std::string& dir) {
    return ListDirectory(dir + "\\ver*.tmp", [](const WIN32_FIND_DATAA& entry) {
        return !(entry.dwFileAttributes & kNotAPlainFile) && IsTemporaryName(entry.cFileName);
    });
}

} // namespace

std::vector<std::string> StaleTemporaryFiles(const std::string& fullDir, const FILETIME& before) {
    std::vector<std::string> stale;
    for (const std::string& name : TemporaryFiles(fullDir)) {
        if (IsStaleTemporaryFile(fullDir + "\\" + name, before)) {
            stale.push_back(name);
        }
    }
    return stale;
}

std::vector<std::string> ListTemporaryFiles(const std::string& dir) {
    return TemporaryFiles(dir);
}

DWORD ForceVersionInstall(const std::string& sourceDir, const std::string& sourceName,
                          const std::string& destDir, const std::string& destName,
                          const std::vector<std::string>& earlierTemporaryFiles) {
    char tempName[MAX_PATH] = {};
    UINT tempLength = sizeof tempName;
    // The platform's declaration takes writable strings; it does not change them.
    std::string source = sourceName, dest = destName, fromDir = sourceDir, toDir = destDir;
    const DWORD result =
        VerInstallFileA(VIFF_FORCEINSTALL, source.data(), dest.data(), fromDir.data(), toDir.data(),
                        nullptr, tempName, &tempLength);
    if (!VersionInstallFailed(result)) {
        return result;
    }
    // The platform does not always name its temporary copy when the copy fails (a full disk,
    // for one): every one that was not there before is this attempt's.
    std::vector<std::string> leftovers = TemporaryFiles(destDir);
    if (result & VIF_TEMPFILE) {
        const std::string named(tempName, strnlen(tempName, sizeof tempName));
        if (IsTemporaryName(named) && !Contains(leftovers, named)) {
            leftovers.push_back(named);
        }
    }
    for (const std::string& name : leftovers) {
        if (!Contains(earlierTemporaryFiles, name) &&
            _stricmp(name.c_str(), destName.c_str()) != 0) {
            DeletePlainFile(destDir + "\\" + name);
        }
    }
    return result;
}

DWORD ForceVersionInstall(const std::string& sourceDir, const std::string& sourceName,
                          const std::string& destDir, const std::string& destName) {
    return ForceVersionInstall(sourceDir, sourceName, destDir, destName, TemporaryFiles(destDir));
}

} // namespace fw
