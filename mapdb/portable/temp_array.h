// The container's temporary record arrays. The map program fills them and spills them to a
// file when memory runs short; here they are only built, released and destroyed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace korva {

// Name of the spill file of a temporary array.
constexpr const char* kTempArraySpillName = "array.tmp";

class CTempArray {
public:
    CTempArray() = default;
    CTempArray(const CTempArray&) = delete;
    CTempArray& operator=(const CTempArray&) = delete;
    virtual ~CTempArray() { Release(); }

    // Frees the storage, empties the array and puts the growth step back to 100.
    void Release() {
        buffer_.reset();
        elementCount_ = 0;
        growthStep_ = 100;
    }

    std::unique_ptr<std::uint8_t[]> buffer_;
    std::uint32_t elementCount_ = 0;
    std::string spillFileName_;
    std::uint16_t growthStep_ = 100;
};

// The second group of arrays: the same members, a class of its own.
class CTempArray2 : public CTempArray {};

} // namespace korva
