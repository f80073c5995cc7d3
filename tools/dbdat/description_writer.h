// Writes description files ("db.dat"): the two version bytes, then tagged items in order.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korva {

struct DescriptionItem {
    std::uint16_t tag = 0;
    // The text of a text tag (its length is written before it), else the raw payload, exactly
    // as many bytes as the tag's width (none for tags above the last).
    std::string payload;
};

struct DescriptionFile {
    std::uint8_t versionMinor = 0;
    std::uint8_t versionMajor = 0;
    std::vector<DescriptionItem> items;
};

// The file's bytes, or nullopt with `error` set when an item's payload does not fit its tag.
std::optional<std::string> EncodeDescription(const DescriptionFile& file, std::string& error);

// A fixed-width payload holding `value` little-endian in `width` bytes.
std::string LittleEndian(std::uint32_t value, unsigned width);

} // namespace korva
