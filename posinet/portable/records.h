// What posinet sends to the map program: the position record of an element item, the
// command block of WM_COPYDATA, and the names of the items.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korva {

// Clipboard format number the position records travel in (the value of CF_DSPTEXT).
constexpr unsigned kPositionFormat = 129;

// Record kinds: an element's position, and the commands addressed to the map program.
constexpr uint16_t kPositionKind = 1;
constexpr uint16_t kGotoPointKind = 2;
constexpr uint16_t kFollowElementKind = 3;

// Status word of the command block: the release bit of a DDE data header alone.
constexpr uint16_t kCommandBlockStatus = 0x2000;
// Clipboard format word of the command block (CF_TEXT).
constexpr uint16_t kCommandBlockFormat = 1;

constexpr std::size_t kPositionRecordSize = 12;
constexpr std::size_t kCommandBlockSize = 18;

// 12 bytes, little-endian: kind, element number, longitude, latitude.
struct PositionRecord {
    uint16_t kind = kPositionKind;
    uint16_t element = 0;
    int32_t longitude = 0;
    int32_t latitude = 0;
};

// 18 bytes, little-endian: status, format, then a position record (with a command kind),
// then a zero word.
struct GotoPointBlock {
    uint16_t status = kCommandBlockStatus;
    uint16_t format = kCommandBlockFormat;
    PositionRecord command{kGotoPointKind, 0, 0, 0};
    uint16_t trailer = 0;
};

std::array<uint8_t, kPositionRecordSize> EncodePositionRecord(const PositionRecord& record);
std::array<uint8_t, kCommandBlockSize> EncodeGotoPointBlock(const GotoPointBlock& block);

// The record in the first bytes of `data`; none when there are fewer than its size.
std::optional<PositionRecord> DecodePositionRecord(const uint8_t* data, std::size_t size);
std::optional<GotoPointBlock> DecodeGotoPointBlock(const uint8_t* data, std::size_t size);

// "Element%d" of an element number.
std::string ElementItemName(int element);
// The element number 0 to 9 of an item "Element0" to "Element9" (the prefix in any case, as
// DDE item names compare); -1 for any other name, "Tutti" and "Element10" included.
int ElementFromItemName(std::string_view name);

} // namespace korva
