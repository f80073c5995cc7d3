// The table descriptors and the container: field lists, tags, names, defaults, release rules.
#include "mapdb/portable/map_database.h"
#include "mapdb/portable/string_lookup.h"
#include "mapdb/portable/tables.h"

#include <gtest/gtest.h>

#include <vector>

using namespace korva;

namespace {

// Fills every working member the way record and index operations would.
void FillWorkingMembers(CDbTable& table) {
    table.header_.keyCount1 = 3;
    table.header_.keyCount2 = 2;
    for (int i = 0; i < 3; ++i) {
        table.keyList1_.push_back(
            {static_cast<std::uint16_t>(i), std::make_unique<std::uint8_t[]>(16)});
    }
    for (int i = 0; i < 2; ++i) {
        table.keyList2_.push_back(
            {static_cast<std::uint16_t>(i), std::make_unique<std::uint8_t[]>(8)});
    }
    table.wordArray1_.assign(100, 7);
    table.wordArray2_.assign(50, 9);
    for (auto& buffer : table.recordBuffers_) {
        buffer = std::make_unique<std::uint8_t[]>(table.RecordBytes());
    }
    for (int i = 0; i < 4; ++i) {
        ObjectPair pair;
        pair.array = std::make_unique<CWordArrayObject>();
        pair.array->values_.assign(20, 1);
        pair.buffer = std::make_unique<std::uint8_t[]>(32);
        table.objects_.push_back(std::move(pair));
    }
    table.trailingBuffer_ = std::make_unique<std::uint8_t[]>(64);
    table.workCounters_[0] = 5;
    table.workValues_[2] = 11;
}

void ExpectReleased(const CDbTable& table) {
    EXPECT_TRUE(table.keyList1_.empty());
    EXPECT_EQ(table.keyList1_.capacity(), 0u);
    EXPECT_TRUE(table.keyList2_.empty());
    EXPECT_EQ(table.wordArray1_.capacity(), 0u);
    EXPECT_EQ(table.wordArray2_.capacity(), 0u);
    for (const auto& buffer : table.recordBuffers_) {
        EXPECT_EQ(buffer, nullptr);
    }
    EXPECT_TRUE(table.objects_.empty());
    EXPECT_EQ(table.trailingBuffer_, nullptr);
    EXPECT_EQ(table.WorkingStep(), 100);
    EXPECT_EQ(table.workCounters_[0], 0);
    EXPECT_EQ(table.workValues_[2], 0u);
}

} // namespace

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
    EXPECT_TRUE(streets.keyList1_.empty());
    EXPECT_TRUE(streets.keyList2_.empty());
    EXPECT_EQ(streets.recordBuffers_[1], nullptr);
    EXPECT_TRUE(streets.objects_.empty());
    EXPECT_EQ(streets.trailingBuffer_, nullptr);
    EXPECT_EQ(streets.workValues_[2], 0u);
    EXPECT_EQ(streets.header_.keyCount1, 3); // the header is left alone
    EXPECT_EQ(streets.Field(0).width, 255);
}

TEST(Container, ResetDescriptionRestoresItsDefaultsOnly) {
    CMapDatabase db;
    db.description_.byte5 = 9;
    db.description_.word13 = 9;
    db.description_.longs14[5] = 9;
    db.description_.words30[3] = 9;
    db.description_.updateFirst = 9;
    db.descriptionMarker_ = 1;
    db.parameters_.marker = 1;
    db.parameters_.marker2 = 1;
    db.ResetDescription();
    EXPECT_EQ(db.description_.byte5, 1);
    EXPECT_EQ(db.description_.word13, 2);
    EXPECT_EQ(db.description_.longs14[5], 0u);
    EXPECT_EQ(db.description_.words30[3], 0);
    EXPECT_EQ(db.description_.updateFirst, 9); // no default of its own
    EXPECT_EQ(db.descriptionMarker_, 0);
    EXPECT_EQ(db.parameters_.marker, 0);
    EXPECT_EQ(db.parameters_.marker2, 0);
}

TEST(Container, ReleaseAllFreesTablesAndArraysAndStaysUsable) {
    CMapDatabase db;
    for (CDbTable* table : db.Tables()) {
        FillWorkingMembers(*table);
    }
    for (CTempArray& array : db.tempArrays_) {
        array.buffer_ = std::make_unique<std::uint8_t[]>(128);
        array.elementCount_ = 4;
    }
    db.tempArrays2_[7].buffer_ = std::make_unique<std::uint8_t[]>(128);
    db.ReleaseAll();
    for (CDbTable* table : db.Tables()) {
        ExpectReleased(*table);
    }
    for (const CTempArray& array : db.tempArrays_) {
        EXPECT_EQ(array.buffer_, nullptr);
        EXPECT_EQ(array.elementCount_, 0u);
        EXPECT_EQ(array.growthStep_, 100); // back to the class default
    }
    EXPECT_EQ(db.tempArrays2_[7].buffer_, nullptr);
    // Filled again and left to the destructor.
    FillWorkingMembers(db.towns_);
    db.tempArrays2_[0].buffer_ = std::make_unique<std::uint8_t[]>(16);
}
