// Builds the sample CD tree: the installer and its stand-in programs, the CD description
// files, the program files and the editions' map areas. Every size the CD declares is
// computed from its files, and the output is the same for the same inputs.
#include "cd_layout.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>

namespace fs = std::filesystem;

namespace {

struct Options {
    fs::path out;
    std::map<std::string, fs::path> programs; // CD-relative name -> built file
    mkcd::BitmapTreeBulk bulk;
};

void Usage() {
    std::fprintf(stderr,
                 "usage: mkcd --out DIR [--file CD_NAME=BUILT_FILE]... [--bitmap-tree MB,FILES]\n"
                 "  --bitmap-tree adds FILES tiles of MB megabytes in all to the bitmap tree of\n"
                 "  the first area of cd_ita, in subdirectories of 100 files (a large CD).\n");
}

bool ParseArgs(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (i + 1 >= argc) {
            return false;
        }
        std::string value = argv[++i];
        if (arg == "--out") {
            options.out = value;
        } else if (arg == "--bitmap-tree") {
            if (std::sscanf(value.c_str(), "%lu,%lu", &options.bulk.megabytes, &options.bulk.files) !=
                    2 ||
                options.bulk.files == 0) {
                return false;
            }
        } else if (arg == "--file") {
            auto eq = value.find('=');
            if (eq == std::string::npos) {
                return false;
            }
            options.programs[value.substr(0, eq)] = value.substr(eq + 1);
        } else {
            return false;
        }
    }
    return !options.out.empty();
}

void BuildCd(const Options& options) {
    const fs::path& cd = options.out;
    fs::create_directories(cd);
    for (const auto& [name, built] : options.programs) {
        fs::path target = cd / name;
        fs::create_directories(target.parent_path());
        fs::copy_file(built, target, fs::copy_options::overwrite_existing);
        std::printf("mkcd: %s\n", name.c_str());
    }
    mkcd::WriteCdContents(cd, options.bulk);
    std::printf("mkcd: sample CD ready in %s\n", cd.string().c_str());
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseArgs(argc, argv, options)) {
        Usage();
        return 2;
    }
    try {
        BuildCd(options);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "mkcd: %s\n", error.what());
        return 1;
    }
    return 0;
}
