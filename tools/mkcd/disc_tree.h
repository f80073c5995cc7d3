// The disc's files as a system with Joliet sees them, each paired with its plain ISO 9660
// name: a disc is sound only when every name survives on a system without Joliet too.
#pragma once

#include "tools/mkcd/iso_reader.h"

#include <string>
#include <string_view>
#include <vector>

namespace mkcd {

struct DiscNode {
    std::string name; // the Joliet name without its version, else the plain one
    std::string path; // from the root, each name after a "/" ("/cd_ita/Setup.inf"); "" for the root
    bool directory = false;
    const IsoEntry* entry = nullptr; // where its data lies
    std::vector<DiscNode> children;

    // The child of that name, compared without regard to case as Windows does; or nullptr.
    const DiscNode* Child(std::string_view childName) const;
    // The node at a relative path of names joined by "/" or "\"; or nullptr.
    const DiscNode* Find(std::string_view relative) const;
};

// A recorded name without its version (";1") and, in the plain tree, without the dot that
// ends a name that has no extension.
std::string NameWithoutVersion(std::string_view recorded, bool plain);

// Whether a plain name (without version) is an ISO 9660 level 1 name: 8.3 for a file, eight
// characters without a dot for a directory, upper-case letters, digits and "_" only.
bool IsPlainLevelOneName(std::string_view name, bool directory);

// What is wrong with a Joliet name for Windows ("" when nothing): longer than 64 characters,
// a character Joliet or Windows refuses, or a dot or blank at the end, which Windows drops.
std::string JolietNameProblem(std::string_view name);

// Pairs the Joliet tree of `volume` with its plain tree (the plain tree alone when the disc
// has no Joliet names); appends one line per name fault to `faults`.
DiscNode BuildDiscTree(const IsoVolume& volume, std::vector<std::string>& faults);

} // namespace mkcd
