#include "tools/mkcd/cd_image.h"

// The image comes out through the library's own copy of the burn source interface.
#define LIBISOFS_WITHOUT_LIBBURN
#include <libisofs/libisofs.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

namespace mkcd {

namespace fs = std::filesystem;

namespace {

// 15 September 1998, 12:00 UTC: every time the image records.
constexpr std::time_t kFixedTime = 905860800;
// The same moment as the volume descriptors write it (YYYYMMDDhhmmsscc).
constexpr const char* kFixedTimeDigits = "1998091512000000";
// ISO 9660 allows eight levels of directories, the root being the first. Deeper ones would
// be moved elsewhere in the plain tree, where a system without Joliet finds them.
constexpr int kMaxLevels = 8;

std::string Reason(int code) {
    const char* text = iso_error_to_msg(code);
    return text ? text : "libisofs error " + std::to_string(code);
}

void Check(int code, const char* what) {
    if (code < 0) {
        throw std::runtime_error(std::string(what) + ": " + Reason(code));
    }
}

// The library's global state, for the length of one image.
class Library {
public:
    Library() {
        std::time_t now = kFixedTime;
        iso_nowtime(&now, 1); // before the image exists: new nodes take this time
        Check(iso_init(), "cannot start libisofs");
        char charset[] = "UTF-8";
        iso_set_local_charset(charset, 0);
    }
    ~Library() {
        std::time_t unused = 0;
        iso_nowtime(&unused, 2);
        iso_finish();
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
};

struct ImageUnref {
    void operator()(IsoImage* image) const { iso_image_unref(image); }
};
struct OptsFree {
    void operator()(IsoWriteOpts* opts) const { iso_write_opts_free(opts); }
};
struct SourceFree {
    void operator()(burn_source* source) const {
        source->free_data(source);
        std::free(source);
    }
};

// Adds the entries of `dir` (at `level`, the root's being 1) in the order of their names, so
// that the image follows from the names alone, not from the order in which the file system
// lists them.
void AddDirectory(IsoImage* image, IsoDir* parent, const fs::path& dir, int level) {
    std::vector<fs::path> entries;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
        entries.push_back(entry.path());
    }
    std::sort(entries.begin(), entries.end());
    for (const fs::path& path : entries) {
        const fs::file_status status = fs::symlink_status(path);
        const std::string name = path.filename().string();
        if (fs::is_directory(status)) {
            if (level + 1 > kMaxLevels) {
                throw std::runtime_error(path.string() + " lies deeper than the " +
                                         std::to_string(kMaxLevels) +
                                         " directory levels of ISO 9660");
            }
            IsoDir* child = nullptr;
            Check(iso_tree_add_new_dir(parent, name.c_str(), &child),
                  ("cannot add the directory " + path.string()).c_str());
            AddDirectory(image, child, path, level + 1);
        } else if (fs::is_regular_file(status)) {
            Check(iso_tree_add_node(image, parent, path.c_str(), nullptr),
                  ("cannot add " + path.string()).c_str());
        } else {
            throw std::runtime_error(path.string() +
                                     " is neither a file nor a directory: a disc holds only those");
        }
    }
}

std::unique_ptr<IsoImage, ImageUnref> MakeImage(const fs::path& tree) {
    IsoImage* raw = nullptr;
    Check(iso_image_new(kVolumeLabel, &raw), "cannot create the image");
    std::unique_ptr<IsoImage, ImageUnref> image(raw);
    iso_image_set_volume_id(raw, kVolumeLabel);
    iso_image_set_volset_id(raw, kPlainVolumeId);
    iso_image_set_publisher_id(raw, "KORVA");
    iso_image_set_application_id(raw, "MKCD");
    iso_image_set_data_preparer_id(raw, "MKCD");
    iso_image_set_system_id(raw, "");
    // Only names and contents of the tree: no ACLs or extended attributes, no links followed,
    // nothing but directories and regular files.
    iso_image_set_ignore_aclea(raw, 1 | 2);
    iso_tree_set_follow_symlinks(raw, 0);
    iso_tree_set_ignore_hidden(raw, 0);
    AddDirectory(raw, iso_image_get_root(raw), fs::absolute(tree), 1);
    return image;
}

std::unique_ptr<IsoWriteOpts, OptsFree> MakeOptions() {
    IsoWriteOpts* raw = nullptr;
    Check(iso_write_opts_new(&raw, 0), "cannot set the image options");
    std::unique_ptr<IsoWriteOpts, OptsFree> opts(raw);
    Check(iso_write_opts_set_iso_level(raw, 1), "ISO level");
    Check(iso_write_opts_set_joliet(raw, 1), "Joliet");
    Check(iso_write_opts_set_rockridge(raw, 1), "Rock Ridge");
    // Rock Ridge 1.10 records no file serial numbers, which the library takes from the files'
    // places on the disk they come from.
    Check(iso_write_opts_set_rrip_version_1_10(raw, 1), "Rock Ridge version");
    Check(iso_write_opts_set_rrip_1_10_px_ino(raw, 0), "Rock Ridge serial numbers");
    Check(iso_write_opts_set_aaip(raw, 0), "AAIP");
    Check(iso_write_opts_set_hardlinks(raw, 0), "hard links");
    Check(iso_write_opts_set_record_md5(raw, 0, 0), "MD5");
    // Read-only for everybody, owned by nobody in particular.
    Check(iso_write_opts_set_replace_mode(raw, 2, 2, 2, 2), "replace mode");
    Check(iso_write_opts_set_default_dir_mode(raw, 0555), "directory mode");
    Check(iso_write_opts_set_default_file_mode(raw, 0444), "file mode");
    Check(iso_write_opts_set_default_uid(raw, 0), "owner");
    Check(iso_write_opts_set_default_gid(raw, 0), "group");
    Check(iso_write_opts_set_replace_timestamps(raw, 2), "timestamps");
    Check(iso_write_opts_set_default_timestamp(raw, kFixedTime), "timestamp");
    Check(iso_write_opts_set_dir_rec_mtime(raw, 1 | 2), "directory record times");
    Check(iso_write_opts_set_always_gmt(raw, 1), "GMT");
    char digits[17] = {};
    std::copy(kFixedTimeDigits, kFixedTimeDigits + 16, digits);
    Check(iso_write_opts_set_pvd_times(raw, kFixedTime, kFixedTime, 0, kFixedTime, digits),
          "volume times");
    return opts;
}

void WriteBlocks(burn_source& source, const fs::path& part) {
    std::ofstream out(part, std::ios::binary | std::ios::trunc);
    if (!out) {
        throw std::runtime_error("cannot create " + part.string());
    }
    std::vector<unsigned char> block(2048);
    for (;;) {
        const int size = static_cast<int>(block.size());
        const int got = source.read ? source.read(&source, block.data(), size)
                                    : source.read_xt(&source, block.data(), size);
        if (got < 0) {
            throw std::runtime_error("libisofs could not make the image");
        }
        if (got == 0) {
            break;
        }
        out.write(reinterpret_cast<const char*>(block.data()), got);
        if (!out) {
            throw std::runtime_error("cannot write " + part.string());
        }
        if (got < static_cast<int>(block.size())) {
            break;
        }
    }
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write " + part.string());
    }
}

} // namespace

void WriteImage(const fs::path& tree, const fs::path& iso) {
    if (!fs::is_directory(tree)) {
        throw std::runtime_error("no CD tree in " + tree.string());
    }
    const fs::path part = iso.string() + ".part";
    try {
        Library library;
        auto image = MakeImage(tree);
        auto opts = MakeOptions();
        burn_source* raw = nullptr;
        Check(iso_image_create_burn_source(image.get(), opts.get(), &raw),
              "cannot start writing the image");
        std::unique_ptr<burn_source, SourceFree> source(raw);
        WriteBlocks(*source, part);
        source.reset();
        opts.reset();
        image.reset();
    } catch (...) {
        std::error_code ignored;
        fs::remove(part, ignored);
        throw;
    }
    std::error_code error;
    fs::rename(part, iso, error);
    if (error) {
        fs::remove(part, error);
        throw std::runtime_error("cannot name the image " + iso.string());
    }
}

} // namespace mkcd
