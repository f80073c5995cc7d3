// The description of an edition's road database, as "db.dat" carries it. Each member after
// the two version bytes has a tag that identifies it in the file; members without a name
// here belong to the map program and are carried, not interpreted.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace korva {

struct DbDescription {
    std::uint8_t versionMinor = 0;             // file byte 0
    std::uint8_t versionMajor = 0;             // file byte 1
    std::uint16_t word0 = 0;                   // tag 0
    std::string text1;                         // tag 1
    std::string editionName;                   // tag 2
    std::uint8_t updateFirst = 0;              // tag 3
    std::uint8_t updateSecond = 0;             // tag 4
    std::uint8_t byte5 = 0;                    // tag 5
    std::uint8_t byte6 = 0;                    // tag 6
    std::array<std::uint32_t, 6> longs7 = {};  // tags 7-12
    std::uint16_t word13 = 0;                  // tag 13
    std::array<std::uint32_t, 6> longs14 = {}; // tags 14-19
    std::array<std::uint16_t, 4> words20 = {}; // tags 20-23
    std::array<std::uint32_t, 6> longs24 = {}; // tags 24-29
    std::array<std::uint16_t, 4> words30 = {}; // tags 30-33
    std::array<std::uint8_t, 56> block34 = {}; // tag 34
    std::string text35;                        // tag 35
    std::uint8_t byte36 = 0;                   // tag 36
    std::uint8_t byte37 = 0;                   // tag 37
    std::uint32_t long39 = 0;                  // tag 39
    std::uint8_t byte38 = 0;                   // tag 38

    bool operator==(const DbDescription&) const = default;
};

// Results of reading a description.
enum DescriptionResult : std::int32_t {
    kDescriptionRead = 0,
    kDescriptionMissing = 4,
    kDescriptionUnreadable = 5,
    kDescriptionTooOld = 25,
};

// The highest tag with a member; higher tags carry no payload.
constexpr std::uint16_t kLastDescriptionTag = 39;
// Descriptions of a major version below this are refused.
constexpr std::uint8_t kLowestMajorVersion = 3;

constexpr bool IsTextTag(std::uint16_t tag) {
    return tag == 1 || tag == 2 || tag == 35;
}

// Payload bytes of a fixed-width tag (0 for text tags and tags above the last).
constexpr unsigned FixedTagWidth(std::uint16_t tag) {
    if (tag > kLastDescriptionTag || IsTextTag(tag)) {
        return 0;
    }
    if (tag == 0 || tag == 13 || (tag >= 20 && tag <= 23) || (tag >= 30 && tag <= 33)) {
        return 2;
    }
    if ((tag >= 7 && tag <= 12) || (tag >= 14 && tag <= 19) || (tag >= 24 && tag <= 29) ||
        tag == 39) {
        return 4;
    }
    if (tag == 34) {
        return 56;
    }
    return 1; // 3 to 6, 36 to 38
}

} // namespace korva
