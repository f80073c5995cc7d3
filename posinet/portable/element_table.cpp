#include "posinet/portable/element_table.h"

#include "posinet/portable/coordinate.h"

namespace korva {

const BuiltInPosition kBuiltInPositions[kElementCount] = {
    {"07.39.45.281", "45.04.47.500"}, {"07.44.07.661", "45.06.39.976"},
    {"07.42.45.041", "45.01.25.102"}, {"07.36.20.021", "45.02.11.512"},
    {"07.35.12.941", "45.06.08.014"}, {"11.20.26.088", "44.30.17.704"},
    {"12.28.18.491", "41.53.10.616"}, {"08.56.09.053", "44.24.57.542"},
    {"14.14.50.955", "40.51.09.361"}, {"13.20.35.213", "38.07.49.795"},
};

namespace {

int32_t WrappingAdd(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

} // namespace

void SetBuiltInPositions(ElementState (&table)[kElementCount]) {
    for (int i = 0; i < kElementCount; ++i) {
        table[i].longitude = ParseCoordinate(kBuiltInPositions[i].longitude);
        table[i].latitude = ParseCoordinate(kBuiltInPositions[i].latitude);
    }
}

void SetHeading(ElementState& element, unsigned r) {
    switch (r % 4u) {
    case 0: // south
        element.stepLongitude = 0;
        element.stepLatitude = -kTickStep;
        break;
    case 1: // east
        element.stepLongitude = kTickStep;
        element.stepLatitude = 0;
        break;
    case 2: // north
        element.stepLongitude = 0;
        element.stepLatitude = kTickStep;
        break;
    default: // west
        element.stepLongitude = -kTickStep;
        element.stepLatitude = 0;
        break;
    }
}

void AssignHeadings(ElementState (&table)[kElementCount], HeadingGenerator& generator) {
    for (ElementState& element : table) {
        SetHeading(element, generator.Next());
    }
}

void MoveElement(ElementState& element) {
    element.longitude = WrappingAdd(element.longitude, element.stepLongitude);
    element.latitude = WrappingAdd(element.latitude, element.stepLatitude);
}

void NudgeElement(ElementState& element, ArrowKey key) {
    switch (key) {
    case ArrowKey::left:
        element.longitude = WrappingAdd(element.longitude, -kNudgeStep);
        break;
    case ArrowKey::right:
        element.longitude = WrappingAdd(element.longitude, kNudgeStep);
        break;
    case ArrowKey::up:
        element.latitude = WrappingAdd(element.latitude, kNudgeStep);
        break;
    case ArrowKey::down:
        element.latitude = WrappingAdd(element.latitude, -kNudgeStep);
        break;
    }
}

int ParseElementNumber(std::string_view text, int count) {
    auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && isSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isSpace(text.back())) {
        text.remove_suffix(1);
    }
    if (text.empty()) {
        return -1;
    }
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return -1;
        }
        value = value * 10 + (c - '0');
        if (value >= count) {
            return -1;
        }
    }
    return value;
}

} // namespace korva
