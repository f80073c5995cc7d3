// A small writer of Windows metafiles (the 16-bit record format), for the sample CD's
// drawing and the tests: pens, brushes, rectangles and ellipses in logical units.
#pragma once

#include <cstdint>
#include <vector>

namespace korva {

class MetafileWriter {
public:
    // Colours are 0x00BBGGRR, as the platform's COLORREF.
    void SolidBrush(std::uint32_t colour);
    void SolidPen(std::uint32_t colour, int width);
    void Rectangle(int left, int top, int right, int bottom);
    void Ellipse(int left, int top, int right, int bottom);

    // The plain metafile: header, records, end record.
    std::vector<std::uint8_t> Plain() const;
    // A placeable file: the placeable key and bounding box, then the plain metafile starting
    // at `headerOffset` (22 in the published layout, 32 in the system's own).
    std::vector<std::uint8_t> Placeable(int left, int top, int right, int bottom,
                                        std::uint32_t headerOffset = 22) const;

private:
    void Record(std::uint16_t function, const std::vector<std::uint16_t>& parameters);
    // Creates an object in the lowest free slot, selects it and frees the slot of the object
    // of the same kind it replaces.
    void SelectNew(int& slot, std::uint16_t function, const std::vector<std::uint16_t>& parameters);

    std::vector<std::uint16_t> records_;
    std::uint32_t largestRecord_ = 3;
    int brushSlot_ = -1;
    int penSlot_ = -1;
    std::vector<bool> slotsInUse_;
};

} // namespace korva
