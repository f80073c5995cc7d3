// What the system loader reads of a Windows program before its first line runs: the system
// version its header asks for and the functions it imports, by library. Read from the file
// with nothing but standard C++, so that the host tests can check the Windows programs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace peimports {

struct Import {
    std::string library;       // as the program names it ("KERNEL32.dll")
    std::string function;      // empty for an import by ordinal
    std::uint32_t ordinal = 0; // only for an import by ordinal
};

struct ProgramImage {
    bool is64Bit = false;
    std::uint16_t majorOperatingSystemVersion = 0;
    std::uint16_t minorOperatingSystemVersion = 0;
    std::uint16_t majorSubsystemVersion = 0;
    std::uint16_t minorSubsystemVersion = 0;
    std::vector<Import> imports;
};

// Reads a program's image from its bytes. On a malformed image returns false and says where in
// `error`; every offset is checked against the bytes.
bool ReadProgramImage(const std::vector<std::uint8_t>& bytes, ProgramImage& image,
                      std::string& error);

// Reads the file at `path`; false with `error` when it cannot be read or is malformed.
bool ReadProgramFile(const std::string& path, ProgramImage& image, std::string& error);

} // namespace peimports
