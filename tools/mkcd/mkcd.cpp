// Builds the sample CD tree: the installer and its stand-in programs, the CD description
// files, the program files and the editions' map areas. Every size the CD declares is
// computed from its files, and the output is the same for the same inputs. It also masters
// the tree as a disc image and checks disc images before they are burnt.
#include "tools/mkcd/cd_check.h"
#include "tools/mkcd/cd_image.h"
#include "tools/mkcd/cd_layout.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct Options {
    fs::path out;
    fs::path image;
    fs::path from;                            // an existing tree to master
    fs::path check;                           // an image to check
    std::map<std::string, fs::path> programs; // CD-relative name -> built file
    mkcd::BitmapTreeBulk bulk;
    bool bulkGiven = false;
};

void Usage() {
    std::fprintf(
        stderr,
        "usage: mkcd --out DIR [--image FILE.iso] [--file CD_NAME=BUILT_FILE]...\n"
        "            [--bitmap-tree MB,FILES]\n"
        "       mkcd --image FILE.iso [--file CD_NAME=BUILT_FILE]... [--bitmap-tree MB,FILES]\n"
        "       mkcd --image FILE.iso --from DIR\n"
        "       mkcd --check FILE.iso\n"
        "  --out writes the CD tree; --image writes the disc image of the same tree (ISO 9660\n"
        "  with Joliet names, the same bytes from the same inputs), beside the tree or\n"
        "  instead of it; --from makes the image of a CD tree that exists already.\n"
        "  --bitmap-tree adds FILES tiles of MB megabytes in all to the bitmap tree of\n"
        "  the first area of cd_ita, in subdirectories of 100 files (a large CD).\n"
        "  --check reads a disc image and reports every fault in one line: names that\n"
        "  ISO 9660 or Joliet cannot carry, missing files, declared sizes that differ\n"
        "  from the files; it exits with 1 when there is any.\n");
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
        } else if (arg == "--image") {
            options.image = value;
        } else if (arg == "--from") {
            options.from = value;
        } else if (arg == "--check") {
            options.check = value;
        } else if (arg == "--bitmap-tree") {
            if (std::sscanf(value.c_str(), "%lu,%lu", &options.bulk.megabytes,
                            &options.bulk.files) != 2 ||
                options.bulk.files == 0) {
                return false;
            }
            options.bulkGiven = true;
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
    if (!options.check.empty()) {
        return options.out.empty() && options.image.empty() && options.from.empty() &&
               options.programs.empty() && !options.bulkGiven;
    }
    if (!options.from.empty()) {
        return !options.image.empty() && options.out.empty() && options.programs.empty() &&
               !options.bulkGiven;
    }
    return !options.out.empty() || !options.image.empty();
}

void BuildTree(const Options& options, const fs::path& cd) {
    fs::create_directories(cd);
    for (const auto& [name, built] : options.programs) {
        fs::path target = cd / name;
        fs::create_directories(target.parent_path());
        fs::copy_file(built, target, fs::copy_options::overwrite_existing);
        std::printf("mkcd: %s\n", name.c_str());
    }
    mkcd::WriteCdContents(cd, options.bulk);
}

// A directory of its own for a tree that only the image keeps; removed however mkcd ends.
class TemporaryTree {
public:
    explicit TemporaryTree(const fs::path& image) {
        const fs::path parent = fs::absolute(image).parent_path();
        path_ = parent / (".mkcd-tree-" + std::to_string(::getpid()));
        fs::remove_all(path_);
    }
    ~TemporaryTree() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    TemporaryTree(const TemporaryTree&) = delete;
    TemporaryTree& operator=(const TemporaryTree&) = delete;
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

int Master(const Options& options) {
    if (!options.from.empty()) {
        mkcd::WriteImage(options.from, options.image);
    } else if (options.out.empty()) {
        TemporaryTree tree(options.image);
        BuildTree(options, tree.Path());
        mkcd::WriteImage(tree.Path(), options.image);
    } else {
        BuildTree(options, options.out);
        std::printf("mkcd: sample CD ready in %s\n", options.out.string().c_str());
        if (!options.image.empty()) {
            mkcd::WriteImage(options.out, options.image);
        }
    }
    if (!options.image.empty()) {
        std::printf("mkcd: disc image \"%s\" ready in %s (%ju bytes)\n", mkcd::kVolumeLabel,
                    options.image.string().c_str(),
                    static_cast<std::uintmax_t>(fs::file_size(options.image)));
    }
    return 0;
}

int Check(const fs::path& iso) {
    std::ifstream file(iso, std::ios::binary);
    std::error_code error;
    const std::uintmax_t size = fs::file_size(iso, error);
    if (!file || error) {
        std::fprintf(stderr, "mkcd: cannot read %s\n", iso.string().c_str());
        return 2;
    }
    const mkcd::ImageReader read = [&](std::uint64_t offset, std::size_t length,
                                       unsigned char* out) {
        if (offset > size || length > size - offset) {
            return false;
        }
        file.clear();
        file.seekg(static_cast<std::streamoff>(offset));
        file.read(reinterpret_cast<char*>(out), static_cast<std::streamsize>(length));
        return static_cast<std::size_t>(file.gcount()) == length;
    };
    const std::vector<std::string> faults = mkcd::CheckImage(read, size);
    for (const std::string& fault : faults) {
        std::printf("%s: %s\n", iso.string().c_str(), fault.c_str());
    }
    if (!faults.empty()) {
        std::printf("mkcd: %s: %zu fault%s\n", iso.string().c_str(), faults.size(),
                    faults.size() == 1 ? "" : "s");
        return 1;
    }
    std::printf("mkcd: %s: no faults\n", iso.string().c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseArgs(argc, argv, options)) {
        Usage();
        return 2;
    }
    try {
        if (!options.check.empty()) {
            return Check(options.check);
        }
        return Master(options);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "mkcd: %s\n", error.what());
        return 1;
    }
}
