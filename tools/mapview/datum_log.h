// The map viewer's optional log of everything it receives, one line per datum, written at
// once so that a test can read it while the viewer runs.
#pragma once

#include "framework/handles.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mapview {

class DatumLog {
public:
    // Creates (or empties) the file; false when it cannot be written.
    bool Open(const std::string& path);
    bool IsOpen() const { return static_cast<bool>(file_); }

    // "D <tick> <item> <size> <kind> <element> <longitude> <latitude>"
    void Datum(const std::string& item, const std::vector<uint8_t>& bytes);
    // "C <tick> <sender> <dwData> <size> <bytes in hex>"
    void CopyData(uintptr_t sender, uintptr_t dwData, const uint8_t* bytes, size_t size);
    // "S <tick> connected|disconnected"
    void State(bool connected);

private:
    void Write(const std::string& line);

    fw::UniqueFileHandle file_;
};

} // namespace mapview
