// The program image reader on images made here: names and ordinals of both image kinds, the
// header's system version, and malformed images, which are refused with a reason, never read
// beyond their bytes.
#include "pe_imports.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put(Bytes& bytes, std::size_t at, std::uint64_t value, int size) {
    if (bytes.size() < at + size) {
        bytes.resize(at + size);
    }
    for (int i = 0; i < size; ++i) {
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

void PutText(Bytes& bytes, std::size_t at, const std::string& text) {
    if (bytes.size() < at + text.size() + 1) {
        bytes.resize(at + text.size() + 1);
    }
    std::memcpy(&bytes[at], text.c_str(), text.size() + 1);
}

// One imported library: its functions by name, and by ordinal where the name is empty.
struct Library {
    std::string name;
    std::vector<std::pair<std::string, std::uint16_t>> functions;
};

constexpr std::size_t kPe = 0x40;
constexpr std::uint32_t kSectionRva = 0x1000;
constexpr std::size_t kSectionFile = 0x200;

// A program image with one section holding the import directory.
Bytes MakeImage(bool is64Bit, const std::vector<Library>& libraries) {
    Bytes image(kSectionFile, 0);
    image[0] = 'M';
    image[1] = 'Z';
    Put(image, 0x3c, kPe, 4);
    Put(image, kPe, 0x00004550, 4);
    const std::size_t coff = kPe + 4;
    Put(image, coff, is64Bit ? 0x8664 : 0x14c, 2);
    Put(image, coff + 2, 1, 2);
    const std::size_t optionalSize = is64Bit ? 240 : 224;
    Put(image, coff + 16, optionalSize, 2);
    const std::size_t optional = coff + 20;
    Put(image, optional, is64Bit ? 0x20b : 0x10b, 2);
    Put(image, optional + 40, 4, 2); // operating system version 4.0
    Put(image, optional + 48, 4, 2); // subsystem version 4.10
    Put(image, optional + 50, 10, 2);
    Put(image, optional + (is64Bit ? 108 : 92), 16, 4);
    const std::size_t directories = optional + (is64Bit ? 112 : 96);
    Put(image, directories + 8, kSectionRva, 4);
    Put(image, directories + 12, 20 * (libraries.size() + 1), 4);

    // The section: descriptors, then per library its lookup list, name and hint/name entries.
    Bytes section(20 * (libraries.size() + 1), 0);
    const std::size_t thunk = is64Bit ? 8 : 4;
    for (std::size_t l = 0; l < libraries.size(); ++l) {
        const Library& library = libraries[l];
        const std::size_t list = section.size();
        section.resize(list + thunk * (library.functions.size() + 1), 0);
        const std::size_t name = section.size();
        PutText(section, name, library.name);
        for (std::size_t f = 0; f < library.functions.size(); ++f) {
            const auto& [function, ordinal] = library.functions[f];
            std::uint64_t value = 0;
            if (function.empty()) {
                value = (is64Bit ? 1ull << 63 : 1ull << 31) | ordinal;
            } else {
                const std::size_t hint = section.size();
                Put(section, hint, 7, 2);
                PutText(section, hint + 2, function);
                value = kSectionRva + hint;
            }
            Put(section, list + thunk * f, value, static_cast<int>(thunk));
        }
        Put(section, 20 * l, kSectionRva + list, 4);      // lookup list
        Put(section, 20 * l + 12, kSectionRva + name, 4); // library name
        Put(section, 20 * l + 16, kSectionRva + list, 4); // address list
    }
    const std::size_t sectionTable = optional + optionalSize;
    Put(image, sectionTable + 8, section.size(), 4);
    Put(image, sectionTable + 12, kSectionRva, 4);
    Put(image, sectionTable + 16, section.size(), 4);
    Put(image, sectionTable + 20, kSectionFile, 4);
    image.insert(image.end(), section.begin(), section.end());
    return image;
}

const std::vector<Library> kLibraries = {
    {"KERNEL32.dll", {{"GetTickCount", 0}, {"GetVersion", 0}}},
    {"USER32.dll", {{"", 17}, {"MessageBoxA", 0}}},
};

std::string Describe(const peimports::ProgramImage& image) {
    std::string text;
    for (const peimports::Import& import : image.imports) {
        text += import.library + ":" +
                (import.function.empty() ? "#" + std::to_string(import.ordinal) : import.function) +
                " ";
    }
    return text;
}

} // namespace

TEST(ProgramImage, NamesAndOrdinalsOfBothImageKinds) {
    for (bool is64Bit : {false, true}) {
        peimports::ProgramImage image;
        std::string error;
        ASSERT_TRUE(peimports::ReadProgramImage(MakeImage(is64Bit, kLibraries), image, error))
            << error;
        EXPECT_EQ(image.is64Bit, is64Bit);
        EXPECT_EQ(Describe(image),
                  "KERNEL32.dll:GetTickCount KERNEL32.dll:GetVersion USER32.dll:#17 "
                  "USER32.dll:MessageBoxA ");
        EXPECT_EQ(image.majorOperatingSystemVersion, 4);
        EXPECT_EQ(image.minorOperatingSystemVersion, 0);
        EXPECT_EQ(image.majorSubsystemVersion, 4);
        EXPECT_EQ(image.minorSubsystemVersion, 10);
    }
}

TEST(ProgramImage, AProgramWithoutImportsHasNone) {
    peimports::ProgramImage image;
    std::string error;
    ASSERT_TRUE(peimports::ReadProgramImage(MakeImage(false, {}), image, error)) << error;
    EXPECT_TRUE(image.imports.empty());
}

TEST(ProgramImage, EveryShortenedImageIsRefused) {
    for (bool is64Bit : {false, true}) {
        const Bytes whole = MakeImage(is64Bit, kLibraries);
        for (std::size_t size = 0; size < whole.size(); ++size) {
            const Bytes part(whole.begin(), whole.begin() + size);
            peimports::ProgramImage image;
            std::string error;
            EXPECT_FALSE(peimports::ReadProgramImage(part, image, error)) << size << " bytes";
            EXPECT_FALSE(error.empty()) << size << " bytes";
        }
    }
}

TEST(ProgramImage, MalformedTablesAreRefusedWithTheirReason) {
    struct Case {
        const char* what;
        std::size_t at;
        std::uint64_t value;
        int size;
        const char* reason;
    };
    const std::size_t optional = kPe + 24;
    const std::size_t sectionTable = optional + 224;
    const Case cases[] = {
        {"no MZ", 0, 'X', 1, "no MZ header"},
        {"PE header beyond the file", 0x3c, 0x7fffffff, 4, "no PE signature"},
        {"unknown optional header", optional, 0x777, 2, "optional header of unknown kind"},
        {"import directory outside the section", optional + 96 + 8, 0x9000, 4,
         "import directory outside every section"},
        {"section beyond the file", sectionTable + 16, 0x100000, 4, "beyond the end of the file"},
        {"library name outside the image", kSectionFile + 12, 0x8000, 4, "library name 0"},
        {"a name outside the image", kSectionFile + 60, 0x7000, 4, "a name imported from"},
    };
    for (const Case& c : cases) {
        Bytes image = MakeImage(false, kLibraries);
        Put(image, c.at, c.value, c.size);
        peimports::ProgramImage read;
        std::string error;
        EXPECT_FALSE(peimports::ReadProgramImage(image, read, error)) << c.what;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
    }
}

TEST(ProgramImage, AnImportListThatDoesNotEndIsRefused) {
    // The library's list of functions is moved to the last bytes of the image, where it runs
    // out without its closing zero.
    Bytes image = MakeImage(false, {{"KERNEL32.dll", {{"", 1}}}});
    const std::size_t sectionTable = kPe + 24 + 224;
    const std::size_t sectionSize = image.size() - kSectionFile;
    Put(image, image.size(), 0x80000002u, 4);
    Put(image, sectionTable + 8, sectionSize + 4, 4);
    Put(image, sectionTable + 16, sectionSize + 4, 4);
    Put(image, kSectionFile, kSectionRva + sectionSize, 4);      // lookup list
    Put(image, kSectionFile + 16, kSectionRva + sectionSize, 4); // address list
    peimports::ProgramImage read;
    std::string error;
    EXPECT_FALSE(peimports::ReadProgramImage(image, read, error));
    EXPECT_NE(error.find("does not end"), std::string::npos) << error;
}

TEST(ProgramImage, AMissingFileIsNamed) {
    peimports::ProgramImage image;
    std::string error;
    EXPECT_FALSE(peimports::ReadProgramFile("/nonexistent/install.exe", image, error));
    EXPECT_NE(error.find("/nonexistent/install.exe"), std::string::npos);
}
