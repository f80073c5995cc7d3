#include "tools/mkcd/cd_check.h"

#include "framework/portable/profile_text.h"
#include "install/engine/portable/setup_values.h"
#include "install/launcher/portable/launcher_logic.h"
#include "mapdb/portable/description_reader.h"
#include "resources/install/resource.h"
#include "tools/mkcd/disc_tree.h"

#include <limits>
#include <map>
#include <optional>
#include <set>

namespace mkcd {

namespace {

constexpr std::uint64_t kMegabyte = 1000000;

std::string PathOf(const DiscNode& directory, const std::string& name) {
    return directory.path + "/" + name;
}

std::string Printable(const std::string& text) {
    std::string out;
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) {
            const char* digits = "0123456789ABCDEF";
            out += "\\x";
            out += digits[u >> 4];
            out += digits[u & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

bool IsDecimal(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    return !text.empty() && text.front() >= '0' && text.front() <= '9';
}

class DiscCheck {
public:
    DiscCheck(const ImageReader& read, const DiscNode& root, std::vector<std::string>& faults)
        : read_(read), root_(root), faults_(faults) {}

    void Run() {
        CheckAutorun();
        Require(root_, "install.exe", "the launcher and installer");
        for (const char* name : {"korva.exe", "POSINET.EXE", "korva.hlp", "info.txt"}) {
            Require(root_, name, "a program file every installation copies");
        }
        const std::optional<std::string> setvars = Text(root_, "setvars.inf");
        if (!setvars) {
            Fault("/setvars.inf", "missing: the launcher's description of the editions");
        }
        std::set<std::string> checked;
        for (int command = IDC_EDITION_MILANO; command <= IDC_EDITION_ROMA; ++command) {
            if (const korva::EditionEntry* edition = korva::FindEdition(command)) {
                CheckEdition(*edition, setvars.value_or(""), checked);
            }
        }
        // One declared catalogue total is one fault, however many areas it misses.
        for (const auto& [info, mismatch] : catalogueMismatches_) {
            std::string what = "Numero_di_bytes=" + std::to_string(mismatch.declared) + ", but";
            const char* separator = " ";
            for (const auto& [total, areas] : mismatch.areas) {
                what += separator;
                for (std::size_t i = 0; i < areas.size(); ++i) {
                    what += (i ? ", " : "") + areas[i];
                }
                what +=
                    (areas.size() == 1 ? " holds " : " hold ") + std::to_string(total) + " bytes";
                separator = "; ";
            }
            Fault(info, what);
        }
    }

private:
    void Fault(const std::string& path, const std::string& what) {
        faults_.push_back(path + ": " + what);
    }

    const DiscNode* Require(const DiscNode& directory, const std::string& name, const char* role) {
        const DiscNode* node = directory.Child(name);
        if (!node || node->directory) {
            Fault(PathOf(directory, name), std::string("missing: ") + role);
            return nullptr;
        }
        return node;
    }

    std::optional<std::string> Read(const DiscNode& file) {
        if (file.directory) {
            return std::nullopt;
        }
        std::optional<std::string> bytes = ReadIsoFile(read_, *file.entry);
        if (!bytes) {
            Fault(file.path, "cannot be read from the image");
        }
        return bytes;
    }

    std::optional<std::string> Text(const DiscNode& directory, const std::string& name) {
        const DiscNode* node = directory.Child(name);
        if (!node || node->directory) {
            return std::nullopt;
        }
        return Read(*node);
    }

    void CheckAutorun() {
        const std::optional<std::string> autorun = Text(root_, "autorun.inf");
        if (!autorun) {
            Fault("/autorun.inf", "missing: the disc does not start the launcher by itself");
            return;
        }
        const std::optional<std::string> open = fw::ProfileTextValue(*autorun, "autorun", "open");
        if (!open || open->empty()) {
            Fault("/autorun.inf", "no \"open\" in [autorun]: nothing starts when the disc is "
                                  "inserted");
        } else {
            const std::string program = open->substr(0, open->find(' '));
            const DiscNode* found = root_.Find(program);
            if (!found || found->directory) {
                Fault("/autorun.inf", "\"open\" starts " + program + ", which is not on the disc");
            }
        }
        const std::optional<std::string> icon = fw::ProfileTextValue(*autorun, "autorun", "icon");
        if (!icon || icon->empty()) {
            Fault("/autorun.inf", "no \"icon\" in [autorun]");
        } else {
            const std::string file = icon->substr(0, icon->find(','));
            const DiscNode* found = root_.Find(file);
            if (!found || found->directory) {
                Fault("/autorun.inf", "\"icon\" names " + file + ", which is not on the disc");
            }
        }
    }

    void CheckEdition(const korva::EditionEntry& edition, const std::string& setvars,
                      std::set<std::string>& checked) {
        const std::string presence =
            fw::ProfileTextValue(setvars, edition.areaKey, "Presence").value_or("1");
        if (korva::IsEditionAbsent(presence)) {
            return;
        }
        const std::string firstDir = fw::ProfileTextValue(setvars, edition.areaKey, "FirstDir")
                                         .value_or(edition.defaultFirstDir);
        if (firstDir.empty()) {
            return; // the installation asks for the source
        }
        const std::string resolved = korva::ResolveFirstDir("", firstDir);
        if (resolved.size() >= 2 && resolved[1] == ':') {
            Fault("/setvars.inf", std::string("[") + edition.areaKey + "] FirstDir " + firstDir +
                                      " names another drive: the edition is not on this disc");
            return;
        }
        const DiscNode* dir = root_.Find(resolved);
        if (!dir || !dir->directory) {
            Fault("/setvars.inf", std::string("[") + edition.areaKey + "] FirstDir " + firstDir +
                                      ": no such directory on the disc");
            return;
        }
        if (!checked.insert(dir->path).second) {
            return;
        }
        CheckEditionDirectory(*dir);
    }

    void CheckEditionDirectory(const DiscNode& dir) {
        if (!dir.Child("Setup.inf") && !root_.Child("Setup.inf")) {
            Fault(PathOf(dir, "Setup.inf"), "missing: the setup description of the edition");
        }
        // The program source of an edition installed from the menu is the disc's root; a
        // directory typed as the source is its own.
        const std::optional<std::uint32_t> rootCatalogues = CatalogueTotal(root_);
        const std::optional<std::uint32_t> ownCatalogues =
            dir.Child("info.txt") ? CatalogueTotal(dir) : std::nullopt;
        int areas = 0;
        for (const DiscNode& area : dir.children) {
            if (!area.directory || korva::IsExcludedAreaName(area.name)) {
                continue;
            }
            ++areas;
            CheckArea(area);
            const std::uint64_t catalogues = FileBytes(area.Child("catalog"));
            for (const auto& [declared, info] :
                 {std::pair{rootCatalogues, std::string("/info.txt")},
                  std::pair{ownCatalogues, PathOf(dir, "info.txt")}}) {
                if (declared && *declared != 0 && *declared != catalogues) {
                    CatalogueMismatch& mismatch = catalogueMismatches_[info];
                    mismatch.declared = *declared;
                    mismatch.areas[catalogues].push_back(PathOf(area, "catalog"));
                }
            }
        }
        if (areas == 0) {
            Fault(dir.path, "no map areas: the installation has nothing to install");
        }
    }

    std::optional<std::uint32_t> CatalogueTotal(const DiscNode& programSource) {
        const std::optional<std::string> info = Text(programSource, "info.txt");
        if (!info) {
            return std::nullopt;
        }
        const std::optional<std::string> value =
            fw::ProfileTextValue(*info, "Cataloghi", "Numero_di_bytes");
        if (value && !value->empty() && !IsDecimal(*value)) {
            Fault(PathOf(programSource, "info.txt"),
                  "Numero_di_bytes=" + *value + " is not a number");
            return std::nullopt;
        }
        return korva::ParseUnsignedValue(value.value_or("0"));
    }

    void CheckArea(const DiscNode& area) {
        for (const char* extension : {".vgr", ".are", ".map"}) {
            Require(area, area.name + extension, "a map file of the area");
        }
        const DiscNode* rete = area.Child("rete");
        const DiscNode* cartine = area.Child("cartine");
        if (!rete || !rete->directory) {
            Fault(PathOf(area, "rete"), "missing: the area's road network");
        } else {
            CheckNetwork(*rete);
        }
        if (!cartine || !cartine->directory) {
            Fault(PathOf(area, "cartine"), "missing: the area's bitmap tree");
        } else {
            CheckBitmapTree(*cartine);
        }
    }

    void CheckNetwork(const DiscNode& rete) {
        if (const DiscNode* db = Require(rete, "db.dat", "the description of the road network")) {
            if (std::optional<std::string> bytes = Read(*db)) {
                korva::MemorySource source(std::span<const std::uint8_t>(
                    reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()));
                korva::DbDescription description;
                const std::int32_t result = korva::ReadDescriptionFrom(source, description);
                if (result != 0) {
                    Fault(db->path, "the installation cannot read it (result " +
                                        std::to_string(result) +
                                        "): the progress window shows no edition");
                }
            }
        }
        CheckSizes(rete, "sizeOfNet", "sizeOfNetInBytes", FileBytes(&rete), false);
    }

    void CheckBitmapTree(const DiscNode& cartine) {
        std::uint64_t total = FileBytes(&cartine);
        for (const DiscNode& sub : cartine.children) {
            if (!sub.directory) {
                continue;
            }
            total += FileBytes(&sub);
            for (const DiscNode& deeper : sub.children) {
                if (deeper.directory) {
                    Fault(deeper.path, "a second level below the bitmap tree, which the "
                                       "installation does not copy");
                }
            }
        }
        CheckSizes(cartine, "sizeOfBmps", "sizeOfBmpsInBytes", total, true);
    }

    // The size description of a directory: megabytes for the space check and the exact
    // bytes for the progress total, against the bytes its files hold.
    void CheckSizes(const DiscNode& dir, const char* megabytesKey, const char* bytesKey,
                    std::uint64_t actual, bool bytesRequired) {
        const std::string path = PathOf(dir, "setup.inf");
        const std::optional<std::string> text = Text(dir, "setup.inf");
        if (!text) {
            Fault(path, "missing: the sizes the installation asks for and shows");
            return;
        }
        if (actual > std::numeric_limits<std::uint32_t>::max()) {
            Fault(dir.path, "holds " + std::to_string(actual) +
                                " bytes, more than the installation's 32-bit totals can count");
        }
        const std::optional<std::string> bytes = fw::ProfileTextValue(*text, "INFO", bytesKey);
        if (!bytes) {
            if (bytesRequired) {
                Fault(path, std::string("no ") + bytesKey + ": the progress has no total");
            }
        } else if (!IsDecimal(*bytes)) {
            Fault(path, std::string(bytesKey) + "=" + *bytes + " is not a number");
        } else if (korva::ParseUnsignedValue(*bytes) != actual) {
            Fault(path, std::string(bytesKey) + "=" + *bytes + ", but the files hold " +
                            std::to_string(actual) + " bytes");
        }
        const std::optional<std::string> megabytes =
            fw::ProfileTextValue(*text, "INFO", megabytesKey);
        if (!megabytes) {
            Fault(path, std::string("no ") + megabytesKey +
                            ": the space check and the install types assume a default");
        } else if (!IsDecimal(*megabytes)) {
            Fault(path, std::string(megabytesKey) + "=" + *megabytes + " is not a number");
        } else if (korva::ParseUnsignedValue(*megabytes) * kMegabyte < actual) {
            Fault(path, std::string(megabytesKey) + "=" + *megabytes + " Mb, but the files hold " +
                            std::to_string(actual) + " bytes: the space check asks for too little");
        }
    }

    // Bytes of the files directly in a directory (none when it is missing).
    static std::uint64_t FileBytes(const DiscNode* dir) {
        std::uint64_t total = 0;
        if (dir && dir->directory) {
            for (const DiscNode& child : dir->children) {
                if (!child.directory) {
                    total += child.entry->size;
                }
            }
        }
        return total;
    }

    struct CatalogueMismatch {
        std::uint32_t declared = 0;
        std::map<std::uint64_t, std::vector<std::string>> areas; // their total -> catalogues
    };

    const ImageReader& read_;
    const DiscNode& root_;
    std::vector<std::string>& faults_;
    std::map<std::string, CatalogueMismatch> catalogueMismatches_; // by the info.txt
};

} // namespace

std::vector<std::string> CheckImage(const ImageReader& read, std::uint64_t imageSize) {
    std::vector<std::string> faults;
    std::string error;
    const std::optional<IsoVolume> volume = ReadIsoVolume(read, imageSize, error);
    if (!volume) {
        faults.push_back(Printable(error));
        return faults;
    }
    if (volume->plainVolumeId.empty()) {
        faults.push_back("no volume label");
    } else {
        for (char c : volume->plainVolumeId) {
            if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) {
                faults.push_back("the ISO 9660 label \"" + volume->plainVolumeId +
                                 "\" holds characters other than A-Z, 0-9 and _");
                break;
            }
        }
    }
    const DiscNode root = BuildDiscTree(*volume, faults);
    DiscCheck(read, root, faults).Run();
    // Names and values come from the image: a control character in one must not break the
    // line or reach the terminal.
    for (std::string& fault : faults) {
        fault = Printable(fault);
    }
    return faults;
}

} // namespace mkcd
