// The position provider's portable core: coordinate texts, the element table and its motion,
// and the byte layouts the map program decodes.
#include "posinet/portable/coordinate.h"
#include "posinet/portable/element_table.h"
#include "posinet/portable/records.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

using namespace korva;

TEST(ParseCoordinate, ReadsDegreesMinutesSecondsAndThousandths) {
    EXPECT_EQ(ParseCoordinate("07.39.45.281"), 27585281);
    EXPECT_EQ(ParseCoordinate("45.04.47.500"), 162287500);
    EXPECT_EQ(ParseCoordinate("45"), 162000000);
    EXPECT_EQ(ParseCoordinate("45.04"), 162240000);
    EXPECT_EQ(ParseCoordinate("45.04.47"), 162287000);
    EXPECT_EQ(ParseCoordinate(""), 0);
    EXPECT_EQ(ParseCoordinate(nullptr), 0);
}

TEST(ParseCoordinate, LastFieldIsACountOfThousandthsAndNothingIsRangeChecked) {
    EXPECT_EQ(ParseCoordinate("45.04.47.5"), 162287005);
    EXPECT_EQ(ParseCoordinate("12.75.99.9999"), 47808999);
    // Fields after the fourth are ignored.
    EXPECT_EQ(ParseCoordinate("45.04.47.500.123"), 162287500);
}

TEST(ParseCoordinate, FieldsAreReadAsUnsignedConversionsRead) {
    EXPECT_EQ(ParseCoordinate("  45. 04.\t47.500"), 162287500);
    // No digits where a field starts: that field stays 0, the next full stop is still found.
    EXPECT_EQ(ParseCoordinate("abc"), 0);
    EXPECT_EQ(ParseCoordinate(".30"), 1800000);
    EXPECT_EQ(ParseCoordinate("45..5"), 162005000);
    EXPECT_EQ(ParseCoordinate("45.x.5.7"), 162005007);
    EXPECT_EQ(ParseCoordinate("07,39"), 25200000);
    // A sign is accepted and a minus negates the field modulo 2^32.
    EXPECT_EQ(ParseCoordinate("+07"), 25200000);
    EXPECT_EQ(ParseCoordinate("-1"), -3600000);
    EXPECT_EQ(ParseCoordinate("-"), 0);
}

TEST(ParseCoordinate, WrapsInThirtyTwoBits) {
    // 600 degrees is 2 160 000 000, past the largest signed value.
    EXPECT_EQ(ParseCoordinate("600"), static_cast<int32_t>(2160000000u));
    // A field longer than 32 bits keeps its low 32 bits: 4294967297 is 1.
    EXPECT_EQ(ParseCoordinate("0.0.0.4294967297"), 1);
    EXPECT_EQ(ParseCoordinate("99999999999999999999999999999.99999999999999"),
              ParseCoordinate("99999999999999999999999999999.99999999999999"));
}

TEST(FormatCoordinate, GivesTheTextThatParsesBack) {
    EXPECT_EQ(FormatCoordinate(27585281), "07.39.45.281");
    EXPECT_EQ(FormatCoordinate(162287005), "45.04.47.005");
    EXPECT_EQ(FormatCoordinate(0), "00.00.00.000");
    EXPECT_EQ(FormatCoordinate(-3600100), "-01.00.00.100");
    EXPECT_EQ(FormatCoordinate(INT32_MIN), "-596.31.23.648");
    for (int32_t value : {0, 1, 999, 1000, 59999, 27585281, 162287500, 648000000, INT32_MAX}) {
        EXPECT_EQ(ParseCoordinate(FormatCoordinate(value).c_str()), value) << value;
    }
}

TEST(ElementTable, BuiltInPositionsAreTheTableTexts) {
    ElementState table[kElementCount];
    SetBuiltInPositions(table);
    EXPECT_EQ(table[0].longitude, 27585281);
    EXPECT_EQ(table[0].latitude, 162287500);
    EXPECT_EQ(table[9].longitude, 48035213);
    EXPECT_EQ(table[9].latitude, 137269795);
    for (int i = 0; i < kElementCount; ++i) {
        EXPECT_EQ(FormatCoordinate(table[i].longitude), kBuiltInPositions[i].longitude) << i;
        EXPECT_EQ(FormatCoordinate(table[i].latitude), kBuiltInPositions[i].latitude) << i;
        EXPECT_EQ(table[i].stepLongitude, 0);
        EXPECT_EQ(table[i].stepLatitude, 0);
    }
}

TEST(ElementTable, HeadingsGiveATenthOfASecondPerTick) {
    struct Expected {
        unsigned r;
        int32_t stepLongitude;
        int32_t stepLatitude;
    };
    for (Expected e : {Expected{0, 0, -100}, Expected{1, 100, 0}, Expected{2, 0, 100},
                       Expected{3, -100, 0}, Expected{6, 0, 100}}) {
        ElementState element;
        SetHeading(element, e.r);
        EXPECT_EQ(element.stepLongitude, e.stepLongitude) << e.r;
        EXPECT_EQ(element.stepLatitude, e.stepLatitude) << e.r;
    }
}

TEST(ElementTable, EachElementDrawsOneHeadingInOrder) {
    ElementState table[kElementCount];
    HeadingGenerator generator(12345);
    AssignHeadings(table, generator);
    HeadingGenerator replay(12345);
    for (int i = 0; i < kElementCount; ++i) {
        ElementState expected;
        SetHeading(expected, replay.Next());
        EXPECT_EQ(table[i].stepLongitude, expected.stepLongitude) << i;
        EXPECT_EQ(table[i].stepLatitude, expected.stepLatitude) << i;
    }
}

TEST(ElementTable, HeadingsOccurWithEqualFrequencies) {
    // Many draws of one generator.
    HeadingGenerator generator(1998);
    int counts[4] = {};
    constexpr int kDraws = 40000;
    for (int i = 0; i < kDraws; ++i) {
        unsigned r = generator.Next();
        ASSERT_LT(r, 4u);
        ++counts[r];
    }
    for (int count : counts) {
        EXPECT_NEAR(count, kDraws / 4, kDraws / 4 / 20); // within 5%
    }
    // The first heading of generators seeded with successive seconds, as successive starts
    // of the program would be.
    int firstCounts[4] = {};
    constexpr int kStarts = 4000;
    for (uint32_t second = 900000000; second < 900000000 + kStarts; ++second) {
        ++firstCounts[HeadingGenerator(second).Next()];
    }
    for (int count : firstCounts) {
        EXPECT_NEAR(count, kStarts / 4, kStarts / 4 / 8); // within 12.5%
    }
}

TEST(ElementTable, PositionAfterKTicksIsStartPlusKSteps) {
    ElementState table[kElementCount];
    SetBuiltInPositions(table);
    for (int i = 0; i < kElementCount; ++i) {
        SetHeading(table[i], static_cast<unsigned>(i));
    }
    ElementState start[kElementCount];
    std::copy(std::begin(table), std::end(table), std::begin(start));
    std::vector<int> published;
    constexpr int kTicks = 37;
    for (int k = 0; k < kTicks; ++k) {
        MoveElements(table, kElementCount, [&](int i) {
            // The advise of element i goes out after element i has moved, and before the next.
            EXPECT_EQ(table[i].longitude, start[i].longitude + (k + 1) * start[i].stepLongitude);
            if (i + 1 < kElementCount) {
                EXPECT_EQ(table[i + 1].latitude,
                          start[i + 1].latitude + k * start[i + 1].stepLatitude);
            }
            published.push_back(i);
        });
    }
    for (int i = 0; i < kElementCount; ++i) {
        EXPECT_EQ(table[i].longitude, start[i].longitude + kTicks * start[i].stepLongitude);
        EXPECT_EQ(table[i].latitude, start[i].latitude + kTicks * start[i].stepLatitude);
    }
    ASSERT_EQ(published.size(), static_cast<size_t>(kTicks * kElementCount));
    for (size_t n = 0; n < published.size(); ++n) {
        EXPECT_EQ(published[n], static_cast<int>(n % kElementCount));
    }
}

TEST(ElementTable, MotionWrapsInsteadOfOverflowing) {
    ElementState element{INT32_MAX - 50, INT32_MIN + 50, 0, 0};
    SetHeading(element, 1); // east
    MoveElement(element);
    EXPECT_EQ(element.longitude, INT32_MIN + 49);
    SetHeading(element, 0); // south
    MoveElement(element);
    EXPECT_EQ(element.latitude, INT32_MAX - 49);
}

TEST(ElementTable, ArrowKeysNudgeBySecondAndTheTickAddsItsStep) {
    ElementState element{27585281, 162287500, 0, 0};
    NudgeElement(element, ArrowKey::left);
    EXPECT_EQ(element.longitude, 27584281);
    NudgeElement(element, ArrowKey::up);
    EXPECT_EQ(element.latitude, 162288500);
    NudgeElement(element, ArrowKey::down);
    NudgeElement(element, ArrowKey::down);
    EXPECT_EQ(element.latitude, 162286500);

    ElementState moving{27585281, 162287500, 0, 0};
    SetHeading(moving, 2); // north
    NudgeElement(moving, ArrowKey::right);
    NudgeElement(moving, ArrowKey::right);
    MoveElement(moving);
    EXPECT_EQ(moving.longitude, 27585281 + 2000);
    EXPECT_EQ(moving.latitude, 162287500 + 100);
}

TEST(Records, PositionRecordIsTwelveLittleEndianBytes) {
    const auto bytes = EncodePositionRecord({kPositionKind, 3, 27585281, 162287500});
    const std::array<uint8_t, 12> expected = {0x01, 0x00, 0x03, 0x00, 0x01, 0xeb,
                                              0xa4, 0x01, 0x8c, 0x4f, 0xac, 0x09};
    EXPECT_EQ(bytes, expected);
    const auto negative = EncodePositionRecord({kPositionKind, 9, -100, -1});
    EXPECT_EQ(negative[4], 0x9c);
    EXPECT_EQ(negative[7], 0xff);
    EXPECT_EQ(negative[8], 0xff);

    auto decoded = DecodePositionRecord(bytes.data(), bytes.size());
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->kind, 1);
    EXPECT_EQ(decoded->element, 3);
    EXPECT_EQ(decoded->longitude, 27585281);
    EXPECT_EQ(decoded->latitude, 162287500);
    decoded = DecodePositionRecord(negative.data(), negative.size());
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->longitude, -100);
    EXPECT_EQ(decoded->latitude, -1);
    EXPECT_FALSE(DecodePositionRecord(bytes.data(), 11));
    EXPECT_FALSE(DecodePositionRecord(nullptr, 12));
}

TEST(Records, GotoPointBlockIsEighteenBytesWithAPositionRecordInside) {
    GotoPointBlock block;
    block.command.longitude = ParseCoordinate("07.39.45.281");
    block.command.latitude = ParseCoordinate("45.04.47.500");
    const auto bytes = EncodeGotoPointBlock(block);
    const std::array<uint8_t, 18> expected = {0x00, 0x20, 0x01, 0x00, 0x02, 0x00, 0x00, 0x00, 0x01,
                                              0xeb, 0xa4, 0x01, 0x8c, 0x4f, 0xac, 0x09, 0x00, 0x00};
    EXPECT_EQ(bytes, expected);

    GotoPointBlock follow;
    follow.command = {kFollowElementKind, 7, -5, 6};
    const auto followBytes = EncodeGotoPointBlock(follow);
    auto decoded = DecodeGotoPointBlock(followBytes.data(), followBytes.size());
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->status, 0x2000);
    EXPECT_EQ(decoded->format, 1);
    EXPECT_EQ(decoded->command.kind, 3);
    EXPECT_EQ(decoded->command.element, 7);
    EXPECT_EQ(decoded->command.longitude, -5);
    EXPECT_EQ(decoded->command.latitude, 6);
    EXPECT_EQ(decoded->trailer, 0);
    EXPECT_FALSE(DecodeGotoPointBlock(followBytes.data(), 17));
}

TEST(Records, OnlyElementZeroToNineAreItems) {
    for (int i = 0; i < kElementCount; ++i) {
        EXPECT_EQ(ElementItemName(i), "Element" + std::to_string(i));
        EXPECT_EQ(ElementFromItemName(ElementItemName(i)), i);
    }
    EXPECT_EQ(ElementFromItemName("element3"), 3);
    EXPECT_EQ(ElementFromItemName("ELEMENT9"), 9);
    for (const char* other : {"Tutti", "Element10", "Element", "Element-1", "Elemento1",
                              "Element 1", "Element1 ", "Element03", "", "Elementx"}) {
        EXPECT_EQ(ElementFromItemName(other), -1) << '"' << other << '"';
    }
}

TEST(ElementNumber, OnlyZeroToNineAreElements) {
    EXPECT_EQ(ParseElementNumber("0"), 0);
    EXPECT_EQ(ParseElementNumber(" 7 "), 7);
    EXPECT_EQ(ParseElementNumber("09"), 9);
    EXPECT_EQ(ParseElementNumber("3", 3), -1);
    for (const char* other : {"", " ", "10", "-1", "+1", "1.0", "x", "1 2", "99999999999999"}) {
        EXPECT_EQ(ParseElementNumber(other), -1) << '"' << other << '"';
    }
}
