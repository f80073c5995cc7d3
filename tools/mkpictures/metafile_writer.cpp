#include "tools/mkpictures/metafile_writer.h"

#include "framework/portable/byte_stream.h"
#include "imaging/portable/metafile_header.h"

#include <algorithm>

namespace korva {

namespace {
constexpr std::uint16_t kMetaEof = 0x0000;
constexpr std::uint16_t kMetaSelectObject = 0x012D;
constexpr std::uint16_t kMetaDeleteObject = 0x01F0;
constexpr std::uint16_t kMetaCreatePenIndirect = 0x02FA;
constexpr std::uint16_t kMetaCreateBrushIndirect = 0x02FC;
constexpr std::uint16_t kMetaRectangle = 0x041B;
constexpr std::uint16_t kMetaEllipse = 0x0418;

std::uint16_t Word(int value) {
    return static_cast<std::uint16_t>(value);
}
std::uint16_t Low(std::uint32_t value) {
    return static_cast<std::uint16_t>(value);
}
std::uint16_t High(std::uint32_t value) {
    return static_cast<std::uint16_t>(value >> 16);
}
} // namespace

void MetafileWriter::Record(std::uint16_t function, const std::vector<std::uint16_t>& parameters) {
    const auto size = static_cast<std::uint32_t>(3 + parameters.size());
    records_.push_back(Low(size));
    records_.push_back(High(size));
    records_.push_back(function);
    records_.insert(records_.end(), parameters.begin(), parameters.end());
    largestRecord_ = std::max(largestRecord_, size);
}

void MetafileWriter::SelectNew(int& slot, std::uint16_t function,
                               const std::vector<std::uint16_t>& parameters) {
    // The player puts a new object into the lowest free slot of its object table.
    Record(function, parameters);
    std::size_t newSlot = 0;
    while (newSlot < slotsInUse_.size() && slotsInUse_[newSlot]) {
        ++newSlot;
    }
    if (newSlot == slotsInUse_.size()) {
        slotsInUse_.push_back(false);
    }
    slotsInUse_[newSlot] = true;
    Record(kMetaSelectObject, {Word(static_cast<int>(newSlot))});
    if (slot >= 0) {
        Record(kMetaDeleteObject, {Word(slot)});
        slotsInUse_[static_cast<std::size_t>(slot)] = false;
    }
    slot = static_cast<int>(newSlot);
}

void MetafileWriter::SolidBrush(std::uint32_t colour) {
    // LOGBRUSH16: style BS_SOLID (0), colour, hatch.
    SelectNew(brushSlot_, kMetaCreateBrushIndirect, {0, Low(colour), High(colour), 0});
}

void MetafileWriter::SolidPen(std::uint32_t colour, int width) {
    // LOGPEN16: style PS_SOLID (0), width as a point, colour.
    SelectNew(penSlot_, kMetaCreatePenIndirect, {0, Word(width), 0, Low(colour), High(colour)});
}

void MetafileWriter::Rectangle(int left, int top, int right, int bottom) {
    Record(kMetaRectangle, {Word(bottom), Word(right), Word(top), Word(left)});
}

void MetafileWriter::Ellipse(int left, int top, int right, int bottom) {
    Record(kMetaEllipse, {Word(bottom), Word(right), Word(top), Word(left)});
}

std::vector<std::uint8_t> MetafileWriter::Plain() const {
    std::vector<std::uint16_t> words = records_;
    words.insert(words.end(), {3, 0, kMetaEof});
    const auto totalWords = static_cast<std::uint32_t>(9 + words.size());
    std::vector<std::uint8_t> bytes(2 * totalWords);
    std::uint8_t* p = bytes.data();
    PutLe16(p, 1);     // a metafile in memory: how metafile files are stored
    PutLe16(p + 2, 9); // header words
    PutLe16(p + 4, 0x300);
    PutLe32(p + 6, totalWords);
    PutLe16(p + 10, static_cast<std::uint32_t>(slotsInUse_.size()));
    PutLe32(p + 12, largestRecord_);
    PutLe16(p + 16, 0);
    for (std::size_t i = 0; i < words.size(); ++i) {
        PutLe16(p + kMetaHeaderSize + 2 * i, words[i]);
    }
    return bytes;
}

std::vector<std::uint8_t> MetafileWriter::Placeable(int left, int top, int right, int bottom,
                                                    std::uint32_t headerOffset) const {
    std::vector<std::uint8_t> bytes(std::max<std::uint32_t>(headerOffset, 22), 0);
    std::uint8_t* p = bytes.data();
    PutLe32(p, kPlaceableKey);
    PutLe16(p + 4, 0);
    PutLe16(p + 6, Word(left));
    PutLe16(p + 8, Word(top));
    PutLe16(p + 10, Word(right));
    PutLe16(p + 12, Word(bottom));
    PutLe16(p + 14, 1440); // units per inch
    PutLe32(p + 16, 0);
    std::uint16_t checksum = 0;
    for (int i = 0; i < 10; ++i) {
        checksum ^= GetLe16(p + 2 * i);
    }
    PutLe16(p + 20, checksum);
    bytes.resize(headerOffset);
    std::vector<std::uint8_t> plain = Plain();
    bytes.insert(bytes.end(), plain.begin(), plain.end());
    return bytes;
}

} // namespace korva
