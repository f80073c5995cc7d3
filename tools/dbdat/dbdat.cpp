// dbdat: shows and writes the description file "db.dat" of a road database directory.
//   dbdat show DIR_OR_FILE
//   dbdat write FILE --minor N --major N [--edition TEXT] [--update1 N] [--update2 N]
//               [--tag T=HEX]...
#include "mapdb/portable/description_reader.h"
#include "mapdb/portable/edition_info.h"
#include "mapdb/portable/map_database.h"
#include "tools/dbdat/description_writer.h"
#include "tools/dbdat/text_1252.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace fs = std::filesystem;
using namespace korva;

namespace {

constexpr int kUsageStatus = 2;

int Usage(const std::string& problem) {
    if (!problem.empty()) {
        std::fprintf(stderr, "dbdat: %s\n", problem.c_str());
    }
    std::fprintf(
        stderr, "usage: dbdat show DIR_OR_FILE\n"
                "       dbdat write FILE --minor N --major N [--edition TEXT] [--update1 N]\n"
                "                   [--update2 N] [--tag T=HEX]...\n"
                "show reads DIR/db.dat (or the file given) and prints the result code (0 read,\n"
                "4 missing, 5 unreadable, 25 version too old), the edition, the update numbers,\n"
                "the version and the installer's edition message; it exits 1 when the result\n"
                "is not 0. write writes FILE (DIR/db.dat when FILE is a directory): the\n"
                "versions, then the edition (tag 2, UTF-8 written as Windows-1252), the update\n"
                "numbers (tags 3 and 4), then each --tag item in order. N is 0-255; T is 0-65535;\n"
                "HEX is the payload: the text of tags 1, 2 and 35, exactly the member's width\n"
                "for tags 0-39, empty above 39.\n");
    return kUsageStatus;
}

bool ParseNumber(std::string_view text, unsigned long max, unsigned long& value) {
    if (text.empty() || text.size() > 10) {
        return false;
    }
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + static_cast<unsigned long>(c - '0');
    }
    return value <= max;
}

bool ParseHex(std::string_view text, std::string& bytes) {
    if (text.size() % 2 != 0) {
        return false;
    }
    auto digit = [](char c) {
        return c >= '0' && c <= '9'   ? c - '0'
               : c >= 'a' && c <= 'f' ? c - 'a' + 10
               : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                      : -1;
    };
    bytes.clear();
    for (std::size_t i = 0; i < text.size(); i += 2) {
        int high = digit(text[i]);
        int low = digit(text[i + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        bytes += static_cast<char>(high * 16 + low);
    }
    return true;
}

int Show(const std::string& target) {
    std::int32_t result;
    EditionInfo info;
    std::error_code ec;
    if (fs::is_directory(target, ec)) {
        // As the installer asks: every value is a read of its own.
        CMapDatabase database;
        DbDescription description;
        result = database.ReadDescription(target + "\\" + kDescriptionFileName, &description);
        info = QueryEditionInfo(target);
    } else {
        CMapDatabase database;
        DbDescription description;
        result = database.ReadDescription(target, &description);
        if (result == kDescriptionRead) {
            info.editionName = description.editionName;
            info.updateFirst = description.updateFirst;
            info.updateSecond = description.updateSecond;
            info.versionMajor = description.versionMajor;
            info.versionMinor = description.versionMinor;
        }
    }
    std::printf("result: %d\n", static_cast<int>(result));
    std::printf("edition: %s\n", Cp1252ToUtf8(info.editionName.c_str()).c_str());
    std::printf("update: %u %u\n", info.updateFirst, info.updateSecond);
    std::printf("version: %u.%u\n", info.versionMajor, info.versionMinor);
    std::printf("%s\n", Cp1252ToUtf8(FormatEditionInfo(info)).c_str());
    return result == kDescriptionRead ? 0 : 1;
}

int Write(int argc, char** argv) {
    if (argc < 3) {
        return Usage("write needs a file");
    }
    fs::path path = argv[2];
    DescriptionFile file;
    bool haveMinor = false, haveMajor = false;
    DescriptionItem edition{2, {}}, update1{3, {}}, update2{4, {}};
    bool haveEdition = false, haveUpdate1 = false, haveUpdate2 = false;
    std::vector<DescriptionItem> extra;
    for (int i = 3; i < argc; ++i) {
        std::string option = argv[i];
        if (i + 1 >= argc) {
            return Usage(option + " needs a value");
        }
        std::string value = argv[++i];
        unsigned long number = 0;
        if (option == "--minor" || option == "--major" || option == "--update1" ||
            option == "--update2") {
            if (!ParseNumber(value, 255, number)) {
                return Usage(option + " takes a number from 0 to 255, not \"" + value + "\"");
            }
            auto byte = static_cast<std::uint8_t>(number);
            if (option == "--minor") {
                file.versionMinor = byte;
                haveMinor = true;
            } else if (option == "--major") {
                file.versionMajor = byte;
                haveMajor = true;
            } else if (option == "--update1") {
                update1.payload = LittleEndian(byte, 1);
                haveUpdate1 = true;
            } else {
                update2.payload = LittleEndian(byte, 1);
                haveUpdate2 = true;
            }
        } else if (option == "--edition") {
            auto text = Utf8ToCp1252(value);
            if (!text) {
                return Usage("--edition must be UTF-8 text that Windows-1252 can hold");
            }
            edition.payload = *text;
            haveEdition = true;
        } else if (option == "--tag") {
            auto eq = value.find('=');
            DescriptionItem item;
            if (eq == std::string::npos || !ParseNumber(value.substr(0, eq), 0xFFFF, number) ||
                !ParseHex(std::string_view(value).substr(eq + 1), item.payload)) {
                return Usage("--tag takes T=HEX, not \"" + value + "\"");
            }
            item.tag = static_cast<std::uint16_t>(number);
            extra.push_back(std::move(item));
        } else {
            return Usage("unknown option " + option);
        }
    }
    if (!haveMinor || !haveMajor) {
        return Usage("write needs --minor and --major");
    }
    if (haveEdition) {
        file.items.push_back(edition);
    }
    if (haveUpdate1) {
        file.items.push_back(update1);
    }
    if (haveUpdate2) {
        file.items.push_back(update2);
    }
    file.items.insert(file.items.end(), extra.begin(), extra.end());
    std::string error;
    auto bytes = EncodeDescription(file, error);
    if (!bytes) {
        return Usage(error);
    }
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        path /= kDescriptionFileName;
    } else if (path.has_parent_path()) {
        fs::create_directories(path.parent_path(), ec);
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes->data(), static_cast<std::streamsize>(bytes->size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "dbdat: cannot write %s\n", path.string().c_str());
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        return Usage("");
    }
    std::string command = argv[1];
    if (command == "show") {
        return argc == 3 ? Show(argv[2]) : Usage("show takes one directory or file");
    }
    if (command == "write") {
        return Write(argc, argv);
    }
    return Usage("unknown command " + command);
}
