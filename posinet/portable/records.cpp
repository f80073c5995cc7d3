#include "posinet/portable/records.h"

#include "posinet/portable/element_table.h"

namespace korva {

namespace {

void Put16(uint8_t* out, uint16_t value) {
    out[0] = static_cast<uint8_t>(value);
    out[1] = static_cast<uint8_t>(value >> 8);
}

void Put32(uint8_t* out, int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<uint8_t>(bits >> (8 * i));
    }
}

uint16_t Get16(const uint8_t* in) {
    return static_cast<uint16_t>(in[0] | (in[1] << 8));
}

int32_t Get32(const uint8_t* in) {
    uint32_t bits = 0;
    for (int i = 3; i >= 0; --i) {
        bits = (bits << 8) | in[i];
    }
    return static_cast<int32_t>(bits);
}

void PutRecord(uint8_t* out, const PositionRecord& record) {
    Put16(out, record.kind);
    Put16(out + 2, record.element);
    Put32(out + 4, record.longitude);
    Put32(out + 8, record.latitude);
}

PositionRecord GetRecord(const uint8_t* in) {
    return PositionRecord{Get16(in), Get16(in + 2), Get32(in + 4), Get32(in + 8)};
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::array<uint8_t, kPositionRecordSize> EncodePositionRecord(const PositionRecord& record) {
    std::array<uint8_t, kPositionRecordSize> bytes{};
    PutRecord(bytes.data(), record);
    return bytes;
}

std::array<uint8_t, kCommandBlockSize> EncodeGotoPointBlock(const GotoPointBlock& block) {
    std::array<uint8_t, kCommandBlockSize> bytes{};
    Put16(bytes.data(), block.status);
    Put16(bytes.data() + 2, block.format);
    PutRecord(bytes.data() + 4, block.command);
    Put16(bytes.data() + 16, block.trailer);
    return bytes;
}

std::optional<PositionRecord> DecodePositionRecord(const uint8_t* data, std::size_t size) {
    if (!data || size < kPositionRecordSize) {
        return std::nullopt;
    }
    return GetRecord(data);
}

std::optional<GotoPointBlock> DecodeGotoPointBlock(const uint8_t* data, std::size_t size) {
    if (!data || size < kCommandBlockSize) {
        return std::nullopt;
    }
    GotoPointBlock block;
    block.status = Get16(data);
    block.format = Get16(data + 2);
    block.command = GetRecord(data + 4);
    block.trailer = Get16(data + 16);
    return block;
}

std::string ElementItemName(int element) {
    return "Element" + std::to_string(element);
}

int ElementFromItemName(std::string_view name) {
    constexpr std::string_view prefix = "element";
    if (name.size() != prefix.size() + 1) {
        return -1;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (AsciiLower(name[i]) != prefix[i]) {
            return -1;
        }
    }
    const char digit = name.back();
    if (digit < '0' || digit > '9' || digit - '0' >= kElementCount) {
        return -1;
    }
    return digit - '0';
}

} // namespace korva
