#include "pe_imports.h"

#include <fstream>

namespace peimports {

namespace {

// The little-endian fields of the image, every read bounds-checked.
class Bytes {
public:
    explicit Bytes(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}

    bool Has(std::uint64_t offset, std::uint64_t size) const {
        return offset <= bytes_.size() && size <= bytes_.size() - offset;
    }
    std::uint16_t U16(std::uint64_t at) const { return static_cast<std::uint16_t>(U(at, 2)); }
    std::uint32_t U32(std::uint64_t at) const { return static_cast<std::uint32_t>(U(at, 4)); }
    std::uint64_t U64(std::uint64_t at) const { return U(at, 8); }
    // A zero-terminated name that ends inside the image; false otherwise.
    bool Name(std::uint64_t at, std::string& name) const {
        name.clear();
        for (std::uint64_t i = at; i < bytes_.size(); ++i) {
            if (bytes_[i] == 0) {
                return true;
            }
            name.push_back(static_cast<char>(bytes_[i]));
        }
        return false;
    }

private:
    std::uint64_t U(std::uint64_t at, int size) const {
        std::uint64_t value = 0;
        for (int i = size - 1; i >= 0; --i) {
            value = value << 8 | bytes_[at + i];
        }
        return value;
    }
    const std::vector<std::uint8_t>& bytes_;
};

struct Section {
    std::uint32_t virtualAddress = 0;
    std::uint32_t virtualSize = 0;
    std::uint32_t rawOffset = 0;
    std::uint32_t rawSize = 0;
};

// The file offset of an address of the loaded image, through the section that holds it.
bool FileOffset(const std::vector<Section>& sections, std::uint32_t rva, std::uint64_t& offset) {
    for (const Section& s : sections) {
        const std::uint32_t extent = s.virtualSize ? s.virtualSize : s.rawSize;
        if (rva >= s.virtualAddress && rva - s.virtualAddress < extent &&
            rva - s.virtualAddress < s.rawSize) {
            offset = std::uint64_t{s.rawOffset} + (rva - s.virtualAddress);
            return true;
        }
    }
    return false;
}

constexpr std::uint16_t kPe32Magic = 0x10b;
constexpr std::uint16_t kPe32PlusMagic = 0x20b;
constexpr std::uint32_t kImportDirectory = 1;
constexpr std::size_t kDescriptorSize = 20;
// More descriptors or thunks than any real program has: a table that does not end is malformed.
constexpr std::size_t kMaxEntries = 100000;

bool Fail(std::string& error, const std::string& what) {
    error = what;
    return false;
}

} // namespace

bool ReadProgramImage(const std::vector<std::uint8_t>& data, ProgramImage& image,
                      std::string& error) {
    image = ProgramImage{};
    const Bytes bytes(data);
    if (!bytes.Has(0, 0x40) || data[0] != 'M' || data[1] != 'Z') {
        return Fail(error, "no MZ header");
    }
    const std::uint64_t pe = bytes.U32(0x3c);
    if (!bytes.Has(pe, 24) || bytes.U32(pe) != 0x00004550) {
        return Fail(error, "no PE signature at the offset the MZ header gives");
    }
    const std::uint64_t coff = pe + 4;
    const std::uint16_t sectionCount = bytes.U16(coff + 2);
    const std::uint16_t optionalSize = bytes.U16(coff + 16);
    const std::uint64_t optional = coff + 20;
    if (!bytes.Has(optional, optionalSize) || optionalSize < 2) {
        return Fail(error, "optional header beyond the end of the file");
    }
    const std::uint16_t magic = bytes.U16(optional);
    if (magic != kPe32Magic && magic != kPe32PlusMagic) {
        return Fail(error, "optional header of unknown kind");
    }
    image.is64Bit = magic == kPe32PlusMagic;
    const std::uint64_t directoriesAt = optional + (image.is64Bit ? 112 : 96);
    const std::uint64_t countAt = optional + (image.is64Bit ? 108 : 92);
    if (countAt + 4 > optional + optionalSize) {
        return Fail(error, "optional header too short");
    }
    image.majorOperatingSystemVersion = bytes.U16(optional + 40);
    image.minorOperatingSystemVersion = bytes.U16(optional + 42);
    image.majorSubsystemVersion = bytes.U16(optional + 48);
    image.minorSubsystemVersion = bytes.U16(optional + 50);
    const std::uint32_t directoryCount = bytes.U32(countAt);
    if (directoryCount <= kImportDirectory) {
        return true; // no import directory: nothing imported
    }
    const std::uint64_t importEntry = directoriesAt + 8 * kImportDirectory;
    if (importEntry + 8 > optional + optionalSize) {
        return Fail(error, "data directories beyond the optional header");
    }
    const std::uint32_t importRva = bytes.U32(importEntry);

    std::vector<Section> sections;
    const std::uint64_t sectionTable = optional + optionalSize;
    if (!bytes.Has(sectionTable, std::uint64_t{sectionCount} * 40)) {
        return Fail(error, "section table beyond the end of the file");
    }
    for (std::uint16_t i = 0; i < sectionCount; ++i) {
        const std::uint64_t at = sectionTable + std::uint64_t{i} * 40;
        Section s;
        s.virtualSize = bytes.U32(at + 8);
        s.virtualAddress = bytes.U32(at + 12);
        s.rawSize = bytes.U32(at + 16);
        s.rawOffset = bytes.U32(at + 20);
        if (!bytes.Has(s.rawOffset, s.rawSize)) {
            return Fail(error, "section " + std::to_string(i) + " beyond the end of the file");
        }
        sections.push_back(s);
    }
    if (importRva == 0) {
        return true;
    }

    std::uint64_t descriptor = 0;
    if (!FileOffset(sections, importRva, descriptor)) {
        return Fail(error, "import directory outside every section");
    }
    const std::size_t thunkSize = image.is64Bit ? 8 : 4;
    const std::uint64_t ordinalFlag = image.is64Bit ? 1ull << 63 : 1ull << 31;
    for (std::size_t d = 0;; ++d, descriptor += kDescriptorSize) {
        if (d == kMaxEntries || !bytes.Has(descriptor, kDescriptorSize)) {
            return Fail(error, "import directory does not end");
        }
        const std::uint32_t lookupRva = bytes.U32(descriptor);
        const std::uint32_t nameRva = bytes.U32(descriptor + 12);
        const std::uint32_t addressRva = bytes.U32(descriptor + 16);
        if (lookupRva == 0 && nameRva == 0 && addressRva == 0) {
            return true;
        }
        std::uint64_t nameAt = 0;
        std::string library;
        if (!FileOffset(sections, nameRva, nameAt) || !bytes.Name(nameAt, library)) {
            return Fail(error, "library name " + std::to_string(d) + " outside the image");
        }
        std::uint64_t thunk = 0;
        if (!FileOffset(sections, lookupRva ? lookupRva : addressRva, thunk)) {
            return Fail(error, "import list of " + library + " outside every section");
        }
        for (std::size_t t = 0;; ++t, thunk += thunkSize) {
            if (t == kMaxEntries || !bytes.Has(thunk, thunkSize)) {
                return Fail(error, "import list of " + library + " does not end");
            }
            const std::uint64_t value = image.is64Bit ? bytes.U64(thunk) : bytes.U32(thunk);
            if (value == 0) {
                break;
            }
            Import import;
            import.library = library;
            if (value & ordinalFlag) {
                import.ordinal = static_cast<std::uint32_t>(value & 0xffff);
            } else {
                std::uint64_t hintAt = 0;
                if (value > 0xffffffffu ||
                    !FileOffset(sections, static_cast<std::uint32_t>(value), hintAt) ||
                    !bytes.Name(hintAt + 2, import.function)) {
                    return Fail(error, "a name imported from " + library + " outside the image");
                }
            }
            image.imports.push_back(import);
        }
    }
}

bool ReadProgramFile(const std::string& path, ProgramImage& image, std::string& error) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) {
        error = "cannot open " + path;
        return false;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(file.tellg()));
    file.seekg(0);
    if (!file.read(reinterpret_cast<char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()))) {
        error = "cannot read " + path;
        return false;
    }
    if (!ReadProgramImage(bytes, image, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

} // namespace peimports
