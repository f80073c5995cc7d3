#include "tools/mkcd/disc_tree.h"

#include <set>

namespace mkcd {

namespace {

constexpr std::size_t kMaxJolietCharacters = 64;

char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        c = UpperAscii(c);
    }
    return upper;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (UpperAscii(a[i]) != UpperAscii(b[i])) {
            return false;
        }
    }
    return true;
}

bool IsDCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool AllDCharacters(std::string_view text) {
    for (char c : text) {
        if (!IsDCharacter(c)) {
            return false;
        }
    }
    return true;
}

std::string Join(const std::string& parent, const std::string& name) {
    return parent + "/" + name;
}

std::size_t CodePoints(std::string_view utf8) {
    std::size_t count = 0;
    for (char c : utf8) {
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }
    return count;
}

// The data extents of the files directly in a directory: the one thing both trees share.
std::set<std::uint32_t> FileExtents(const IsoEntry& directory) {
    std::set<std::uint32_t> extents;
    for (const IsoEntry& child : directory.children) {
        if (!child.directory && child.size > 0) {
            extents.insert(child.extent);
        }
    }
    return extents;
}

bool ShareAFile(const IsoEntry& a, const IsoEntry& b) {
    const std::set<std::uint32_t> first = FileExtents(a);
    for (std::uint32_t extent : FileExtents(b)) {
        if (first.count(extent)) {
            return true;
        }
    }
    return false;
}

// A node and its subtree from one tree alone.
void BuildAlone(const IsoEntry& entry, bool plain, DiscNode& node,
                std::vector<std::string>* faults) {
    for (const IsoEntry& child : entry.children) {
        DiscNode childNode;
        childNode.name = NameWithoutVersion(child.name, plain);
        childNode.path = Join(node.path, childNode.name);
        childNode.directory = child.directory;
        childNode.entry = &child;
        if (faults && !IsPlainLevelOneName(childNode.name, child.directory)) {
            faults->push_back(childNode.path + ": not an ISO 9660 name (8.3, upper case)");
        }
        if (child.directory) {
            BuildAlone(child, plain, childNode, faults);
        }
        node.children.push_back(std::move(childNode));
    }
}

class Pairing {
public:
    explicit Pairing(std::vector<std::string>& faults) : faults_(faults) {}

    void PairDirectory(const IsoEntry& joliet, const IsoEntry& plain, DiscNode& node) {
        const std::size_t count = joliet.children.size();
        std::vector<int> match(count, -1);
        std::vector<bool> used(plain.children.size(), false);
        auto take = [&](std::size_t j, std::size_t p) {
            match[j] = static_cast<int>(p);
            used[p] = true;
        };
        // First by name: the plain name is the Joliet name in upper case.
        for (std::size_t j = 0; j < count; ++j) {
            const IsoEntry& child = joliet.children[j];
            const std::string wanted = Upper(NameWithoutVersion(child.name, false));
            for (std::size_t p = 0; p < plain.children.size(); ++p) {
                if (!used[p] && plain.children[p].directory == child.directory &&
                    NameWithoutVersion(plain.children[p].name, true) == wanted) {
                    take(j, p);
                    break;
                }
            }
        }
        // Then by data, to name what a system without Joliet sees instead: a file by its
        // extent, a directory by the files it shares.
        for (std::size_t j = 0; j < count; ++j) {
            const IsoEntry& child = joliet.children[j];
            for (std::size_t p = 0; match[j] < 0 && p < plain.children.size(); ++p) {
                const IsoEntry& candidate = plain.children[p];
                if (used[p] || candidate.directory != child.directory) {
                    continue;
                }
                const bool same = child.directory ? ShareAFile(child, candidate)
                                                  : candidate.extent == child.extent &&
                                                        candidate.size == child.size;
                if (same) {
                    take(j, p);
                }
            }
        }

        for (std::size_t j = 0; j < count; ++j) {
            const IsoEntry& child = joliet.children[j];
            DiscNode childNode;
            childNode.name = NameWithoutVersion(child.name, false);
            childNode.path = Join(node.path, childNode.name);
            childNode.directory = child.directory;
            childNode.entry = &child;
            const IsoEntry* plainChild = match[j] >= 0 ? &plain.children[match[j]] : nullptr;
            ReportName(joliet, j, childNode, plainChild);
            if (plainChild && !child.directory &&
                (plainChild->extent != child.extent || plainChild->size != child.size)) {
                faults_.push_back(childNode.path +
                                  ": its ISO 9660 and Joliet names lead to different data");
            }
            if (child.directory) {
                if (plainChild) {
                    PairDirectory(child, *plainChild, childNode);
                } else {
                    BuildAlone(child, false, childNode, nullptr);
                }
            }
            node.children.push_back(std::move(childNode));
        }
        for (std::size_t p = 0; p < plain.children.size(); ++p) {
            if (!used[p]) {
                faults_.push_back(
                    Join(node.path, NameWithoutVersion(plain.children[p].name, true)) +
                    ": only among the ISO 9660 names, not among the Joliet ones");
            }
        }
    }

private:
    // At most one line for a name: names that differ only in case are one fault, told at
    // the first of them.
    void ReportName(const IsoEntry& directory, std::size_t index, const DiscNode& node,
                    const IsoEntry* plainChild) {
        std::string others;
        for (std::size_t k = 0; k < directory.children.size(); ++k) {
            const std::string name = NameWithoutVersion(directory.children[k].name, false);
            if (k == index || !SameIgnoringCase(name, node.name)) {
                continue;
            }
            if (k < index) {
                return;
            }
            others += (others.empty() ? "\"" : ", \"") + name + "\"";
        }
        if (!others.empty()) {
            faults_.push_back(node.path + ": differs from " + others +
                              " only in case, which Windows does not tell apart");
            return;
        }
        const std::string problem = JolietNameProblem(node.name);
        if (!problem.empty()) {
            faults_.push_back(node.path + ": " + problem);
            return;
        }
        if (!plainChild) {
            faults_.push_back(node.path +
                              ": has no ISO 9660 name: a system without Joliet does not see it");
            return;
        }
        const std::string plainName = NameWithoutVersion(plainChild->name, true);
        if (plainName != Upper(node.name)) {
            faults_.push_back(node.path +
                              ": does not fit ISO 9660 (8.3, upper case): a system without "
                              "Joliet sees it as " +
                              plainName);
        } else if (!IsPlainLevelOneName(plainName, node.directory)) {
            faults_.push_back(node.path + ": does not fit ISO 9660 (8.3, upper case)");
        }
    }

    std::vector<std::string>& faults_;
};

} // namespace

const DiscNode* DiscNode::Child(std::string_view childName) const {
    for (const DiscNode& child : children) {
        if (SameIgnoringCase(child.name, childName)) {
            return &child;
        }
    }
    return nullptr;
}

const DiscNode* DiscNode::Find(std::string_view relative) const {
    const DiscNode* node = this;
    while (node && !relative.empty()) {
        const std::size_t cut = relative.find_first_of("/\\");
        const std::string_view part = relative.substr(0, cut);
        relative = cut == std::string_view::npos ? std::string_view() : relative.substr(cut + 1);
        if (!part.empty()) {
            node = node->Child(part);
        }
    }
    return node;
}

std::string NameWithoutVersion(std::string_view recorded, bool plain) {
    const std::size_t semicolon = recorded.rfind(';');
    if (semicolon != std::string_view::npos && semicolon + 1 < recorded.size() &&
        recorded.find_first_not_of("0123456789", semicolon + 1) == std::string_view::npos) {
        recorded = recorded.substr(0, semicolon);
    }
    if (plain && !recorded.empty() && recorded.back() == '.') {
        recorded.remove_suffix(1);
    }
    return std::string(recorded);
}

bool IsPlainLevelOneName(std::string_view name, bool directory) {
    if (directory) {
        return !name.empty() && name.size() <= 8 && AllDCharacters(name);
    }
    const std::size_t dot = name.find('.');
    const std::string_view base = name.substr(0, dot);
    const std::string_view extension =
        dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
    return !name.empty() && base.size() <= 8 && extension.size() <= 3 && AllDCharacters(base) &&
           AllDCharacters(extension) && !(base.empty() && extension.empty());
}

std::string JolietNameProblem(std::string_view name) {
    if (name.empty()) {
        return "an empty name";
    }
    if (CodePoints(name) > kMaxJolietCharacters) {
        return "longer than the " + std::to_string(kMaxJolietCharacters) +
               " characters Joliet allows";
    }
    for (char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20) {
            return "holds a control character, which Joliet does not allow";
        }
        if (std::string_view("*/:;?\\").find(c) != std::string_view::npos) {
            return std::string("holds \"") + c + "\", which Joliet does not allow";
        }
        if (std::string_view("\"<>|").find(c) != std::string_view::npos) {
            return std::string("holds \"") + c + "\", which Windows does not allow in a name";
        }
    }
    if (name.back() == '.' || name.back() == ' ') {
        return "ends with a dot or a blank, which Windows drops";
    }
    return "";
}

DiscNode BuildDiscTree(const IsoVolume& volume, std::vector<std::string>& faults) {
    DiscNode root;
    root.directory = true;
    if (!volume.hasJoliet) {
        faults.push_back("no Joliet names: Windows shows every name in 8.3 upper case");
        root.entry = &volume.plainRoot;
        BuildAlone(volume.plainRoot, true, root, &faults);
        return root;
    }
    root.entry = &volume.jolietRoot;
    Pairing(faults).PairDirectory(volume.jolietRoot, volume.plainRoot, root);
    return root;
}

} // namespace mkcd
