// The table descriptors and the container: field lists, tags, names, defaults, release rules.
#include "map_database.h"
#include "string_lookup.h"
#include "tables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <vector>

using namespace korva;

namespace {

std::vector<unsigned> Widths(const CDbTable& table) {
    std::vector<unsigned> widths;
    for (std::uint16_t i = 0; i < table.FieldCount(); ++i) {
        widths.push_back(table.Field(i).width);
    }
    return widths;
}

std::vector<unsigned> NameFields(const CDbTable& table) {
    std::vector<unsigned> fields;
    for (std::uint16_t i = 0; i < table.FieldCount(); ++i) {
        if (table.Field(i).Kind() == 1) {
            fields.push_back(i);
        }
    }
    return fields;
}

// Fills every working member the way record and index operations would.
void FillWorkingMembers(CDbTable& table) {
    table.header.keyCount1 = 3;
    table.header.keyCount2 = 2;
    for (int i = 0; i < 3; ++i) {
        table.keyList1.push_back(
            {static_cast<std::uint16_t>(i), std::make_unique<std::uint8_t[]>(16)});
    }
    for (int i = 0; i < 2; ++i) {
        table.keyList2.push_back(
            {static_cast<std::uint16_t>(i), std::make_unique<std::uint8_t[]>(8)});
    }
    table.wordArray1.assign(100, 7);
    table.wordArray2.assign(50, 9);
    for (auto& buffer : table.recordBuffers) {
        buffer = std::make_unique<std::uint8_t[]>(table.RecordBytes());
    }
    for (int i = 0; i < 4; ++i) {
        ObjectPair pair;
        pair.array = std::make_unique<CWordArrayObject>();
        pair.array->values.assign(20, 1);
        pair.buffer = std::make_unique<std::uint8_t[]>(32);
        table.objects.push_back(std::move(pair));
    }
    table.trailingBuffer = std::make_unique<std::uint8_t[]>(64);
    table.workCounters[0] = 5;
    table.workValues[2] = 11;
}

void ExpectReleased(const CDbTable& table) {
    EXPECT_TRUE(table.keyList1.empty());
    EXPECT_EQ(table.keyList1.capacity(), 0u);
    EXPECT_TRUE(table.keyList2.empty());
    EXPECT_EQ(table.wordArray1.capacity(), 0u);
    EXPECT_EQ(table.wordArray2.capacity(), 0u);
    for (const auto& buffer : table.recordBuffers) {
        EXPECT_EQ(buffer, nullptr);
    }
    EXPECT_TRUE(table.objects.empty());
    EXPECT_EQ(table.trailingBuffer, nullptr);
    EXPECT_EQ(table.WorkingStep(), 100);
    EXPECT_EQ(table.workCounters[0], 0);
    EXPECT_EQ(table.workValues[2], 0u);
}

} // namespace

TEST(Tables, NodeTableHas47FieldsOf100BytesAndNoNameField) {
    CNodeTable nodes;
    ASSERT_EQ(nodes.FieldCount(), 47);
    std::vector<unsigned> widths = Widths(nodes);
    EXPECT_EQ(std::accumulate(widths.begin(), widths.end(), 0u), 100u);
    EXPECT_EQ(nodes.RecordBytes(), 100u);
    EXPECT_EQ(widths[5], 4u);
    EXPECT_EQ(widths[6], 1u);
    EXPECT_EQ(widths[22], 4u);
    EXPECT_EQ(widths[23], 1u);
    EXPECT_EQ(widths[26], 4u);
    EXPECT_EQ(widths[44], 1u);
    EXPECT_EQ(widths[45], 14u);
    EXPECT_EQ(widths[46], 14u);
    EXPECT_EQ(nodes.AuxiliaryLength(), 56);
    EXPECT_EQ(nodes.WorkingStep(), 100);
    EXPECT_EQ(nodes.Tag1(), "ndc");
    EXPECT_EQ(nodes.Tag2(), "ndo");
    EXPECT_EQ(nodes.DisplayName(), "Nodi");
    EXPECT_TRUE(NameFields(nodes).empty());
}

TEST(Tables, EveryTableHasItsFieldsTagsAndName) {
    CMapDatabase db;
    struct Expected {
        CDbTable* table;
        std::vector<unsigned> widths;
        const char* tag1;
        const char* tag2;
        const char* name;
    };
    const Expected expected[] = {
        {&db.segments, {4, 4, 4, 4, 4, 36, 4, 1, 4, 4, 4, 1, 1, 8}, "sgc", "sgo", "Segmenti"},
        {&db.segPoints, {4, 4, 4}, "spc", "spo", "Punti di segmento"},
        {&db.streets, {255, 1, 1, 16}, "stc", "sto", "Strade"},
        {&db.boroughs, {255, 8, 4, 8, 4, 2, 1, 16}, "brc", "bro", "Localit\xE0"},
        {&db.towns, {255, 4, 4, 1, 2, 2, 8, 4, 2, 1, 16}, "twc", "two", "Citt\xE0"},
        {&db.shires, {255, 4, 16, 8, 4}, "", "", "Province"},
        {&db.counties, {255, 4, 16, 8, 4}, "", "", ""},
        {&db.states, {255, 2, 16, 8, 4}, "", "", "Stati"},
        {&db.nations, {255, 16, 8, 4}, "", "", "Nazioni"},
    };
    const unsigned recordBytes[] = {83, 12, 273, 298, 299, 287, 287, 285, 283};
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const Expected& e = expected[i];
        SCOPED_TRACE(e.name);
        EXPECT_EQ(Widths(*e.table), e.widths);
        EXPECT_EQ(e.table->RecordBytes(), recordBytes[i]);
        EXPECT_EQ(e.table->Tag1(), e.tag1);
        EXPECT_EQ(e.table->Tag2(), e.tag2);
        EXPECT_EQ(e.table->DisplayName(), e.name);
        bool named = e.widths[0] == 255;
        EXPECT_EQ(NameFields(*e.table), named ? std::vector<unsigned>{0} : std::vector<unsigned>{});
    }
    EXPECT_EQ(db.segments.steps, (std::array<std::uint16_t, 8>{1, 2, 5, 10, 50, 100, 500, 1000}));
}

TEST(Tables, CountyShireAndStateDifferOnlyWhereTheyShould) {
    CShireTable shires;
    CCountyTable counties;
    CStateTable states;
    EXPECT_EQ(Widths(counties), Widths(shires));
    EXPECT_TRUE(counties.DisplayName().empty());
    EXPECT_TRUE(counties.Tag1().empty() && counties.Tag2().empty());
    EXPECT_EQ(shires.DisplayName(), "Province");

    std::vector<unsigned> stateWidths = Widths(states);
    std::vector<unsigned> shireWidths = Widths(shires);
    EXPECT_EQ(stateWidths[1], 2u);
    EXPECT_EQ(shireWidths[1], 4u);
    stateWidths[1] = shireWidths[1];
    EXPECT_EQ(stateWidths, shireWidths);
    EXPECT_NE(states.DisplayName(), shires.DisplayName());
}

TEST(Tables, DisplayNamesComeFromTheStringLookup) {
    StringLookup previous = SetStringLookup(
        [](unsigned number) { return number == 61680 ? std::string("Knoten") : std::string(); });
    CNodeTable nodes;
    CStreetTable streets;
    SetStringLookup(previous);
    EXPECT_EQ(nodes.DisplayName(), "Knoten");
    EXPECT_EQ(streets.DisplayName(), "");
    EXPECT_EQ(CStreetTable().DisplayName(), "Strade");
}

TEST(Tables, ReleaseOfAFreshTableKeepsFieldsTagsAndName) {
    CTownTable towns;
    towns.ReleaseBuffers();
    ExpectReleased(towns);
    EXPECT_EQ(towns.FieldCount(), 11);
    EXPECT_EQ(towns.Field(0).width, 255);
    EXPECT_EQ(towns.Field(0).Kind(), 1u);
    EXPECT_EQ(towns.Tag1(), "twc");
    EXPECT_EQ(towns.DisplayName(), "Citt\xE0");
}

// Under LeakSanitizer and AddressSanitizer: every buffer is freed once, and the table can be
// filled and released again.
TEST(Tables, ReleaseFreesEverythingAndTheTableIsReusable) {
    CSegmentTable segments;
    for (int round = 0; round < 3; ++round) {
        FillWorkingMembers(segments);
        segments.ReleaseBuffers();
        ExpectReleased(segments);
    }
    EXPECT_EQ(segments.RecordBytes(), 83u);
    // A filled table that is destroyed without an explicit release frees everything too.
    CNodeTable nodes;
    FillWorkingMembers(nodes);
}

// The working pointers own their buffers: resetting them without a release first frees what
// they held instead of leaking it (LeakSanitizer would report the leak).
TEST(Tables, ResetWorkStateWithoutReleaseDoesNotLeak) {
    CStreetTable streets;
    FillWorkingMembers(streets);
    streets.ResetWorkState();
    EXPECT_TRUE(streets.keyList1.empty());
    EXPECT_TRUE(streets.keyList2.empty());
    EXPECT_EQ(streets.recordBuffers[1], nullptr);
    EXPECT_TRUE(streets.objects.empty());
    EXPECT_EQ(streets.trailingBuffer, nullptr);
    EXPECT_EQ(streets.workValues[2], 0u);
    EXPECT_EQ(streets.header.keyCount1, 3); // the header is left alone
    EXPECT_EQ(streets.Field(0).width, 255);
}

TEST(Container, DefaultsOfDescriptionArraysAndParameters) {
    CMapDatabase db;
    EXPECT_EQ(db.description.byte5, 1);
    EXPECT_EQ(db.description.word13, 2);
    EXPECT_EQ(db.descriptionMarker, 0);
    EXPECT_TRUE(db.description.editionName.empty());
    const std::uint16_t steps[] = {50, 50, 50, 10, 10, 10, 100, 100, 100};
    for (std::size_t i = 0; i < 9; ++i) {
        EXPECT_EQ(db.tempArrays[i].growthStep, steps[i]) << i;
    }
    const std::uint16_t steps2[] = {10, 10, 10, 10, 100, 100, 100, 100};
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(db.tempArrays2[i].growthStep, steps2[i]) << i;
    }

    const DbParameters& p = db.parameters;
    EXPECT_EQ(p.marker, 0);
    EXPECT_EQ(p.marker2, 0);
    EXPECT_EQ(p.switchOn, 1);
    EXPECT_EQ(std::vector<int>(p.hours, p.hours + 5), (std::vector<int>{7, 8, 9, 17, 20}));
    EXPECT_EQ(std::vector<int>(p.minutes, p.minutes + 5), (std::vector<int>{0, 0, 30, 0, 0}));
    EXPECT_EQ(p.values[0], 40);
    EXPECT_EQ(p.values[35], 4);
    EXPECT_EQ(p.values[38], 60);
    EXPECT_EQ(std::accumulate(p.values, p.values + 39, 0), 1814);
    EXPECT_DOUBLE_EQ(p.sector1.from, 40 * 3.14159265359 / 180);
    EXPECT_DOUBLE_EQ(p.sector2.from, -40 * 3.14159265359 / 180);
    EXPECT_DOUBLE_EQ(p.sector3.to, -40 * 3.14159265359 / 180);
    EXPECT_EQ(p.sector4.from, -3.14159265359);
    EXPECT_EQ(p.sector4.value, 500u);
    EXPECT_EQ(p.sector3.values[3], 70);
    EXPECT_FLOAT_EQ(p.factors[0][4], 0.3f);
    EXPECT_FLOAT_EQ(p.factors[11][0], 2.3f);
    EXPECT_FLOAT_EQ(p.factors[13][2], 1.0f);
    EXPECT_FLOAT_EQ(p.lastFactors[3], 0.5f);
}

TEST(Container, ResetDescriptionRestoresItsDefaultsOnly) {
    CMapDatabase db;
    db.description.byte5 = 9;
    db.description.word13 = 9;
    db.description.longs14[5] = 9;
    db.description.words30[3] = 9;
    db.description.updateFirst = 9;
    db.descriptionMarker = 1;
    db.parameters.marker = 1;
    db.parameters.marker2 = 1;
    db.ResetDescription();
    EXPECT_EQ(db.description.byte5, 1);
    EXPECT_EQ(db.description.word13, 2);
    EXPECT_EQ(db.description.longs14[5], 0u);
    EXPECT_EQ(db.description.words30[3], 0);
    EXPECT_EQ(db.description.updateFirst, 9); // no default of its own
    EXPECT_EQ(db.descriptionMarker, 0);
    EXPECT_EQ(db.parameters.marker, 0);
    EXPECT_EQ(db.parameters.marker2, 0);
}

TEST(Container, ReleaseAllFreesTablesAndArraysAndStaysUsable) {
    CMapDatabase db;
    for (CDbTable* table : db.Tables()) {
        FillWorkingMembers(*table);
    }
    for (CTempArray& array : db.tempArrays) {
        array.buffer = std::make_unique<std::uint8_t[]>(128);
        array.elementCount = 4;
    }
    db.tempArrays2[7].buffer = std::make_unique<std::uint8_t[]>(128);
    db.ReleaseAll();
    for (CDbTable* table : db.Tables()) {
        ExpectReleased(*table);
    }
    for (const CTempArray& array : db.tempArrays) {
        EXPECT_EQ(array.buffer, nullptr);
        EXPECT_EQ(array.elementCount, 0u);
        EXPECT_EQ(array.growthStep, 100); // back to the class default
    }
    EXPECT_EQ(db.tempArrays2[7].buffer, nullptr);
    // Filled again and left to the destructor.
    FillWorkingMembers(db.towns);
    db.tempArrays2[0].buffer = std::make_unique<std::uint8_t[]>(16);
}
