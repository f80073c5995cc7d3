#include "mapdb/portable/tables.h"

#include "mapdb/portable/mapdb_text_ids.h"

namespace korva {

namespace {
constexpr std::uint16_t kName = 255;
} // namespace

CNodeTable::CNodeTable() : CDbTable(47) {
    SetWidths({4,  4, 4, 4, 4, 4,                                     // 0-5
               1,  1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,       // 6-21
               4,  1, 4, 1, 4,                                        // 22-26
               1,  1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, // 27-44
               14, 14});                                              // 45-46
    SetAuxiliaryLength(56);
    SetTags("ndc", "ndo");
    SetDisplayName(IDS_TABLE_NODES);
}

CSegmentTable::CSegmentTable() : CDbTable(14) {
    SetWidths({4, 4, 4, 4, 4, 36, 4, 1, 4, 4, 4, 1, 1, 8});
    SetTags("sgc", "sgo");
    SetDisplayName(IDS_TABLE_SEGMENTS);
}

CSegPointTable::CSegPointTable() : CDbTable(3) {
    SetWidths({4, 4, 4});
    SetTags("spc", "spo");
    SetDisplayName(IDS_TABLE_SEGMENT_POINTS);
}

CStreetTable::CStreetTable() : CDbTable(4) {
    SetWidths({kName, 1, 1, 16});
    SetNameField();
    SetTags("stc", "sto");
    SetDisplayName(IDS_TABLE_STREETS);
}

CBoroughTable::CBoroughTable() : CDbTable(8) {
    SetWidths({kName, 8, 4, 8, 4, 2, 1, 16});
    SetNameField();
    SetTags("brc", "bro");
    SetDisplayName(IDS_TABLE_BOROUGHS);
}

CTownTable::CTownTable() : CDbTable(11) {
    SetWidths({kName, 4, 4, 1, 2, 2, 8, 4, 2, 1, 16});
    SetNameField();
    SetTags("twc", "two");
    SetDisplayName(IDS_TABLE_TOWNS);
}

CShireTable::CShireTable() : CDbTable(5) {
    SetWidths({kName, 4, 16, 8, 4});
    SetNameField();
    SetDisplayName(IDS_TABLE_SHIRES);
}

// The county table has no tags and, as in the map program, no display name: the string
// between the shire and state names is used by no table.
CCountyTable::CCountyTable() : CDbTable(5) {
    SetWidths({kName, 4, 16, 8, 4});
    SetNameField();
}

CStateTable::CStateTable() : CDbTable(5) {
    SetWidths({kName, 2, 16, 8, 4});
    SetNameField();
    SetDisplayName(IDS_TABLE_STATES);
}

CNationTable::CNationTable() : CDbTable(4) {
    SetWidths({kName, 16, 8, 4});
    SetNameField();
    SetDisplayName(IDS_TABLE_NATIONS);
}

} // namespace korva
