#include "install/engine/directory_identity.h"

#include "framework/file_identity.h"
#include "framework/handles.h"
#include "install/engine/portable/removal_guard.h"
#include "install/shared/portable/paths.h"

#include <windows.h>

namespace korva {

namespace {

// The long name of one level as the directory lists it (a short 8.3 name finds its long
// one), with its attributes; false when there is no such entry.
bool FindLevel(const std::string& path, std::string& name, DWORD& attributes) {
    WIN32_FIND_DATAA entry;
    const fw::UniqueFind find(FindFirstFileA(path.c_str(), &entry));
    if (!find) {
        return false;
    }
    name = entry.cFileName;
    attributes = entry.dwFileAttributes;
    return true;
}

std::size_t RootLength(const std::string& canonical) {
    if (canonical.starts_with("\\\\")) {
        const std::size_t server = canonical.find('\\', 2);
        const std::size_t share = canonical.find('\\', server + 1);
        return share == std::string::npos ? canonical.size() : share;
    }
    return 3; // "X:\"
}

// Rebuilds `canonical` level by level from the directory listings, where no handle tells the
// final path. Every level below the root must be an entry that is not a link: where a link
// leads cannot be told this way.
std::string LongForm(const std::string& canonical) {
    const std::size_t rootLength = RootLength(canonical);
    std::string resolved = canonical.substr(0, rootLength);
    if (GetFileAttributesA(IsRootPath(resolved) && resolved.back() != '\\'
                               ? (resolved + '\\').c_str()
                               : resolved.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return "";
    }
    std::size_t start = rootLength;
    while (start < canonical.size()) {
        if (canonical[start] == '\\') {
            ++start;
            continue;
        }
        std::size_t end = canonical.find('\\', start);
        if (end == std::string::npos) {
            end = canonical.size();
        }
        const std::string level = (resolved.back() == '\\' ? resolved : resolved + '\\') +
                                  canonical.substr(start, end - start);
        std::string name;
        DWORD attributes = 0;
        if (!FindLevel(level, name, attributes) || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
            return "";
        }
        if (resolved.back() != '\\') {
            resolved += '\\';
        }
        resolved += name;
        if (resolved.size() >= kPathSize) {
            return "";
        }
        start = end;
    }
    return resolved;
}

} // namespace

std::string ParentPath(const std::string& canonical) {
    if (canonical.empty() || IsRootPath(canonical)) {
        return "";
    }
    const std::size_t cut = canonical.rfind('\\');
    if (cut == std::string::npos) {
        return "";
    }
    // "C:\x" -> "C:\"; "\\server\share\x" -> "\\server\share".
    return CanonicalPath(canonical.substr(0, cut == 2 ? 3 : cut));
}

FileIdentity IdentityOf(const std::string& path) {
    FileIdentity identity;
    if (HasUnsafeSpelling(path)) {
        return identity;
    }
    const std::string canonical = CanonicalPath(path);
    identity.path = canonical;
    if (canonical.empty()) {
        return identity;
    }
    // A share's root opens only with its backslash.
    const std::string opened =
        IsRootPath(canonical) && canonical.back() != '\\' ? canonical + '\\' : canonical;
    const fw::HandleFacts facts = fw::FactsOf(opened);
    if (facts.opened) {
        identity.exists = true;
        identity.hasIndex = true;
        identity.volume = facts.volume;
        identity.index = facts.index;
        if (!facts.finalPath.empty()) {
            identity.path = CanonicalPath(facts.finalPath);
            return identity;
        }
    }
    const std::string longForm = IsRootPath(canonical) ? canonical : LongForm(canonical);
    if (!longForm.empty()) {
        identity.exists =
            identity.exists || GetFileAttributesA(opened.c_str()) != INVALID_FILE_ATTRIBUTES;
        identity.path = longForm;
    } else if (identity.exists) {
        // It opens, but its levels cannot be told: no path to compare by.
        identity.path.clear();
    }
    return identity;
}

DirectoryChain ChainOf(const std::string& path) {
    DirectoryChain chain;
    chain.self = IdentityOf(path);
    std::string level = ParentPath(chain.self.path);
    // A path field holds at most this many levels.
    for (std::size_t levels = 0; !level.empty() && levels < kPathSize / 2; ++levels) {
        FileIdentity above = IdentityOf(level);
        const std::string next = ParentPath(above.path.empty() ? level : above.path);
        chain.above.push_back(std::move(above));
        if (next == level) {
            break;
        }
        level = next;
    }
    return chain;
}

} // namespace korva
