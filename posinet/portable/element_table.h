// The ten simulated elements: their built-in starting positions, their headings and their
// motion on every tick.
#pragma once

#include <cstdint>
#include <random>
#include <string_view>

namespace korva {

constexpr int kElementCount = 10;
// Distance moved per tick, and per arrow-key press, in thousandths of an arc-second.
constexpr int32_t kTickStep = 100;
constexpr int32_t kNudgeStep = 1000;

// One element: where it is and how far it moves at every tick.
struct ElementState {
    int32_t longitude = 0;
    int32_t latitude = 0;
    int32_t stepLongitude = 0;
    int32_t stepLatitude = 0;
};

// Starting position texts of element i (DD.MM.SS.mmm).
struct BuiltInPosition {
    const char* longitude;
    const char* latitude;
};
extern const BuiltInPosition kBuiltInPositions[kElementCount];

// Sets every element's position from the built-in table; the steps are left as they are.
void SetBuiltInPositions(ElementState (&table)[kElementCount]);

// The steps of heading r (0 south, 1 east, 2 north, 3 west); r is taken modulo 4.
void SetHeading(ElementState& element, unsigned r);

// Draws headings 0 to 3 with equal chances from a generator seeded once (with the time, in
// the program).
class HeadingGenerator {
public:
    explicit HeadingGenerator(uint32_t seed) : engine_(seed) {}
    // 0 to 3; the engine's 32-bit outputs split evenly into four classes.
    unsigned Next() { return static_cast<unsigned>(engine_() % 4u); }

private:
    std::mt19937 engine_;
};

// Gives each element in order 0 to 9 one heading drawn from the generator.
void AssignHeadings(ElementState (&table)[kElementCount], HeadingGenerator& generator);

// One tick's step. Positions wrap in 32 bits instead of overflowing (after weeks of running).
void MoveElement(ElementState& element);

// Moves elements 0 to count - 1 in order, calling published(i) right after element i moved.
template <typename Published>
void MoveElements(ElementState* table, int count, Published published) {
    for (int i = 0; i < count; ++i) {
        MoveElement(table[i]);
        published(i);
    }
}

enum class ArrowKey { left, right, up, down };

// The hand nudge of an element by one arrow-key press.
void NudgeElement(ElementState& element, ArrowKey key);

// The element number typed by the user: decimal digits, white space around them allowed,
// naming an element 0 to count - 1; -1 for anything else.
int ParseElementNumber(std::string_view text, int count = kElementCount);

} // namespace korva
