// Builds the sample CD tree: the installer and its stand-in programs, the CD description
// files and the edition directories. The output is the same for the same inputs.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace fs = std::filesystem;

namespace {

struct Options {
    fs::path out;
    std::map<std::string, fs::path> programs; // CD-relative name -> built file
};

void Usage() {
    std::fprintf(stderr, "usage: mkcd --out DIR [--file CD_NAME=BUILT_FILE]...\n");
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

// Text files of the CD use CR LF line ends, as on the real medium.
void WriteText(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::string crlf;
    for (char c : text) {
        if (c == '\n') {
            crlf += '\r';
        }
        crlf += c;
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << crlf;
    if (!file) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

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

void BuildCd(const Options& options) {
    const fs::path& cd = options.out;
    fs::create_directories(cd);
    for (const auto& [name, built] : options.programs) {
        fs::path target = cd / name;
        fs::create_directories(target.parent_path());
        fs::copy_file(built, target, fs::copy_options::overwrite_existing);
        std::printf("mkcd: %s\n", name.c_str());
    }
    WriteText(cd / "setvars.inf", kSetvars);
    WriteText(cd / "film" / "italia.dem", "KORVA '98 film: Italia\n");
    WriteText(cd / "film" / "europa.dem", "KORVA '98 film: Europa\n");
    for (const char* edition : {"cd_ita", "cd_euro", "cd_tori", "cd_roma"}) {
        fs::create_directories(cd / edition);
    }
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
