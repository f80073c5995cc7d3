// szdd: compresses a file into the platform's SZDD format, or expands one.
//   szdd compress IN OUT   (the name's last character is recorded, as "file.dl_" expects)
//   szdd expand IN OUT
#include "framework/portable/szdd.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace {

std::optional<std::vector<std::uint8_t>> ReadAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                    std::istreambuf_iterator<char>());
    if (file.bad()) {
        return std::nullopt;
    }
    return bytes;
}

bool WriteAll(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    file.close();
    return static_cast<bool>(file);
}

int Usage() {
    std::fprintf(stderr, "usage: szdd compress IN OUT\n       szdd expand IN OUT\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        return Usage();
    }
    std::string command = argv[1];
    if (command != "compress" && command != "expand") {
        return Usage();
    }
    auto input = ReadAll(argv[2]);
    if (!input) {
        std::fprintf(stderr, "szdd: cannot read %s\n", argv[2]);
        return 1;
    }
    std::vector<std::uint8_t> output;
    if (command == "compress") {
        std::string name = std::filesystem::path(argv[2]).filename().string();
        output = korva::CompressSzdd(*input, name.empty() ? 0 : name.back());
    } else {
        korva::SzddExpansion expansion = korva::ExpandSzdd(*input);
        if (!expansion.ok) {
            std::fprintf(stderr, "szdd: %s: %s\n", argv[2], expansion.error.c_str());
            return 1;
        }
        output = std::move(expansion.data);
    }
    if (!WriteAll(argv[3], output)) {
        std::fprintf(stderr, "szdd: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
