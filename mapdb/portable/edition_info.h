// What the installer shows of an edition's road database: the edition name, the two update
// numbers and the version, each read afresh from "db.dat" in the given directory.
#pragma once

#include <cstdint>
#include <string>

namespace korva {

// Each query reads "<dir>\db.dat" with a container and description of its own; on any result
// other than 0 it returns an empty text or 0.
std::string GetEditionName(std::string dir);
std::uint8_t GetUpdateFirst(std::string dir);
std::uint8_t GetUpdateSecond(std::string dir);
std::uint8_t GetVersionMinor(std::string dir);
std::uint8_t GetVersionMajor(std::string dir);

struct EditionInfo {
    std::string editionName;
    std::uint8_t updateFirst = 0;
    std::uint8_t updateSecond = 0;
    std::uint8_t versionMajor = 0;
    std::uint8_t versionMinor = 0;
};

// The five values the installer shows before copying a directory, from one read of
// "<dir>\db.dat" (all empty or 0 when it fails).
EditionInfo QueryEditionInfo(const std::string& dir);

// Message 27 filled with the edition name, the update numbers, the major and the minor version:
// "Edizione: <name>\nAggiorn.: 01/02\nVersione:  3. 4.".
std::string FormatEditionInfo(const EditionInfo& info);

} // namespace korva
