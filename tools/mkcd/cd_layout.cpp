#include "tools/mkcd/cd_layout.h"

#include "tools/dbdat/description_writer.h"
#include "tools/mkcd/cd_files.h"
#include "tools/mkcd/cd_image.h"

#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace mkcd {

namespace {

struct AreaSpec {
    const char* name;
    const char* edition; // edition name in the road network's description
    bool compensation;   // <area>.cmp present (then <area>.cm1 too)
    bool strayCm1;       // a <area>.cm1 without .cmp, which must not be copied
};

struct EditionSpec {
    const char* dir;
    const char* cartine; // "Cartine" of the setup description
    const char* mapSet;  // its name up to the first "."
    std::vector<AreaSpec> areas;
};

const std::vector<EditionSpec> kEditions = {
    {"cd_ita",
     "ITALIA.98",
     "ITALIA",
     {{"italia", "KORVA '98 Italia", true, false}, {"sicilia", "KORVA '98 Sicilia", false, true}}},
    {"cd_euro", "EUROPA.98", "EUROPA", {{"europa", "KORVA '98 Europa", false, false}}},
    {"cd_tori", "TORINO.98", "TORINO", {{"torino", "KORVA '98 Torino", true, false}}},
    {"cd_roma", "ROMA.98", "ROMA", {{"roma", "KORVA '98 Roma", false, false}}},
};

const char* kSetvars = R"([General]
AutoDemo=italia.dem

[milano]
Presence=1
FirstDir=\cd_euro

[italia]
Presence=1
FirstDir=\cd_ita

[europa]
Presence=1
FirstDir=\cd_euro
file_demo=europa.dem

[torino]
Presence=1
FirstDir=\cd_tori

[roma]
Presence=1
FirstDir=\cd_roma
)";

// Every name on the CD fits 8.3, so that a system without Joliet finds the same names.
// Catalogue files of every area have these sizes, so info.txt can declare their total.
const std::uintmax_t kCatalogueSizes[] = {3000, 5200};

std::uint32_t Seed(const std::string& text) {
    std::uint32_t seed = 2166136261u;
    for (unsigned char c : text) {
        seed = (seed ^ c) * 16777619u;
    }
    return seed;
}

// The road network's description: version 3.4, the edition name and update 1/12.
void WriteNetworkDescription(const fs::path& path, const char* edition) {
    korva::DescriptionFile file;
    file.versionMinor = 4;
    file.versionMajor = 3;
    file.items = {{2, edition}, {3, korva::LittleEndian(1, 1)}, {4, korva::LittleEndian(12, 1)}};
    std::string error;
    std::optional<std::string> bytes = korva::EncodeDescription(file, error);
    if (!bytes) {
        throw std::runtime_error("cannot describe the network " + path.string() + ": " + error);
    }
    WriteBinary(path, *bytes);
}

std::string MapSetFile(const std::string& area) {
    return "[MAPSET]\nNome=" + area +
           "\n\n[DB_SETTINGS]\nNodeMemory=3000000, 6000000\nSegMemory=1000,2001\n"
           "StreetMemory=2000000, 4000000\n\n[PATHS]\n\n[DISKS]\n";
}

void WriteArea(const fs::path& editionDir, const AreaSpec& spec, const BitmapTreeBulk& bulk) {
    const std::string area = spec.name;
    const fs::path dir = editionDir / area;
    WriteText(dir / (area + ".vgr"), MapSetFile(area));
    WriteBytes(dir / (area + ".are"), 4096, Seed(area + ".are"));
    WriteBytes(dir / (area + ".map"), 12000, Seed(area + ".map"));
    if (spec.compensation || spec.strayCm1) {
        WriteBytes(dir / (area + ".cm1"), 700, Seed(area + ".cm1"));
    }
    if (spec.compensation) {
        WriteBytes(dir / (area + ".cmp"), 1500, Seed(area + ".cmp"));
    }

    const fs::path rete = dir / "rete";
    WriteNetworkDescription(rete / "db.dat", spec.edition);
    for (const char* name : {"nodi.dat", "segmenti.dat", "strade.dat", "indici.idx"}) {
        WriteBytes(rete / name, 6000 + Seed(area + name) % 4000, Seed(area + name));
    }
    WriteSizeDescription(rete / "setup.inf", "sizeOfNet", "sizeOfNetInBytes", DirectoryBytes(rete));

    const char* catalogues[] = {"alberghi.cat", "ristoran.cat"};
    for (int i = 0; i < 2; ++i) {
        WriteBytes(dir / "catalog" / catalogues[i], kCatalogueSizes[i], Seed(area + catalogues[i]));
    }
    WriteBitmap(dir / "immagini" / "duomo.bmp", 40, 30, Seed(area + "duomo") % 7);
    WriteBitmap(dir / "immagini" / "piazza.bmp", 24, 16, Seed(area + "piazza") % 7);

    const fs::path cartine = dir / "cartine";
    std::uintmax_t treeBytes = 0;
    for (const char* scale : {"scala1", "scala2", "scala3"}) {
        for (int tile = 0; tile < 3; ++tile) {
            const std::string name = "t" + std::to_string(tile) + ".bmp";
            WriteBitmap(cartine / scale / name, 32, 32, Seed(area + scale + name) % 11);
        }
        treeBytes += DirectoryBytes(cartine / scale);
    }
    if (bulk.files > 0) {
        const std::uintmax_t each = bulk.megabytes * 1000000ull / bulk.files;
        for (unsigned long i = 0; i < bulk.files; ++i) {
            char subdir[32];
            std::snprintf(subdir, sizeof subdir, "blk%05lu", i / 100);
            char tile[32];
            std::snprintf(tile, sizeof tile, "b%05lu.bmp", i);
            WriteBytes(cartine / subdir / tile, each, Seed(area) + static_cast<std::uint32_t>(i));
        }
        for (unsigned long block = 0; block * 100 < bulk.files; ++block) {
            char subdir[32];
            std::snprintf(subdir, sizeof subdir, "blk%05lu", block);
            treeBytes += DirectoryBytes(cartine / subdir);
        }
    }
    WriteText(cartine / "indice.txt", "scala1\nscala2\nscala3\n");
    WriteSizeDescription(cartine / "setup.inf", "sizeOfBmps", "sizeOfBmpsInBytes",
                         treeBytes + DirectoryBytes(cartine));
}

void WriteEdition(const fs::path& cd, const EditionSpec& edition, const BitmapTreeBulk& bulk) {
    const fs::path dir = cd / edition.dir;
    WriteText(dir / "Setup.inf", std::string("[Installazione]\nVersione_di_KORVA=3.04\nCartine=") +
                                     edition.cartine + "\n\n[" + edition.mapSet +
                                     "]\nVersione_Rete=3.04\nVersione_Cartine=2.1\n"
                                     "Versione_Cataloghi=1.3\n");
    bool first = true;
    for (const AreaSpec& area : edition.areas) {
        WriteArea(dir, area, first ? bulk : BitmapTreeBulk{});
        first = false;
    }
}

// Program files the installation copies from its program source.
void WriteProgramFiles(const fs::path& dir) {
    WriteText(dir / "korva.ini", "[Installazione]\nVersione_di_KORVA=3.04\n");
    WriteBytes(dir / "korva.hlp", 9000, Seed("korva.hlp"));
    if (!fs::exists(dir / "legenda.bmp")) {
        WriteBitmap(dir / "legenda.bmp", 64, 48, 3);
    }
    if (!fs::exists(dir / "korva.wmf")) {
        // Placeholder drawing until a real one is supplied with --file.
        WriteBytes(dir / "korva.wmf", 600, Seed("korva.wmf"));
    }
    WriteBytes(dir / "korvamap.dll", 5000, Seed("korvamap.dll"));
    WriteText(dir / "tutorial.txt", "Guida rapida di KORVA '98.\n");
    WriteBytes(dir / "tutorial.hlp", 2500, Seed("tutorial.hlp"));
    std::uintmax_t catalogues = 0;
    for (std::uintmax_t size : kCatalogueSizes) {
        catalogues += size;
    }
    WriteText(dir / "info.txt",
              "[Cataloghi]\nNumero_di_bytes=" + std::to_string(catalogues) + "\n");
}

// A source typed by the user holds the program files beside its areas.
void CopyProgramFilesInto(const fs::path& cd, const fs::path& dir) {
    for (const auto& entry : fs::directory_iterator(cd)) {
        if (!entry.is_regular_file()) {
            continue;
        }
        const std::string name = entry.path().filename().string();
        const std::string ext = entry.path().extension().string();
        bool program = name == "korva.exe" || name == "POSINET.EXE" || name == "korva.hlp" ||
                       name == "korva.ini" || name == "info.txt" ||
                       name.rfind("tutorial.", 0) == 0 || ext == ".bmp" || ext == ".wmf" ||
                       ext == ".dll";
        if (program) {
            fs::copy_file(entry.path(), dir / name, fs::copy_options::overwrite_existing);
        }
    }
}

} // namespace

void WriteCdContents(const fs::path& cd, const BitmapTreeBulk& bulk) {
    // A disc inserted in the drive starts the launcher, which ends at once when the product
    // is installed already.
    WriteText(cd / "autorun.inf", std::string("[autorun]\nopen=install.exe autorun\n"
                                              "icon=korva.ico\nlabel=") +
                                      kVolumeLabel + "\n");
    WriteIcon(cd / "korva.ico");
    WriteText(cd / "setvars.inf", kSetvars);
    WriteText(cd / "film" / "italia.dem", "KORVA '98 film: Italia\n");
    WriteText(cd / "film" / "europa.dem", "KORVA '98 film: Europa\n");
    WriteProgramFiles(cd);
    WriteText(cd / "Setup.inf", "[Installazione]\nVersione_di_KORVA=3.04\nCartine=ITALIA.98\n");
    for (const EditionSpec& edition : kEditions) {
        WriteEdition(cd, edition, edition.dir == std::string("cd_ita") ? bulk : BitmapTreeBulk{});
    }
    CopyProgramFilesInto(cd, cd / "cd_ita");
}

} // namespace mkcd
