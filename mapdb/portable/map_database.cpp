#include "mapdb/portable/map_database.h"

#include "mapdb/portable/description_reader.h"

namespace korva {

namespace {
constexpr std::uint16_t kTempArraySteps[9] = {50, 50, 50, 10, 10, 10, 100, 100, 100};
constexpr std::uint16_t kTempArray2Steps[8] = {10, 10, 10, 10, 100, 100, 100, 100};
constexpr float kFactorRows[14] = {0.3f, 1.0f, 1.0f, 1.2f, 1.3f, 1.4f, 1.5f,
                                   1.7f, 1.9f, 2.1f, 2.2f, 2.3f, 1.0f, 1.0f};
} // namespace

DbParameters::DbParameters() {
    for (int row = 0; row < 14; ++row) {
        for (float& value : factors[row]) {
            value = kFactorRows[row];
        }
    }
}

CMapDatabase::CMapDatabase() {
    ResetDescription();
    for (std::size_t i = 0; i < tempArrays.size(); ++i) {
        tempArrays[i].growthStep = kTempArraySteps[i];
    }
    for (std::size_t i = 0; i < tempArrays2.size(); ++i) {
        tempArrays2[i].growthStep = kTempArray2Steps[i];
    }
    textTable[0].clear();
}

// Members are destroyed in reverse order after the release: the texts, the temporary arrays
// (second group last to first, then the first), the tables from nations back to nodes and
// the two lists.
CMapDatabase::~CMapDatabase() {
    ReleaseAll();
}

void CMapDatabase::ResetDescription() {
    description.byte5 = 1;
    description.word13 = 2;
    description.longs14 = {};
    description.words20 = {};
    description.longs24 = {};
    description.words30 = {};
    descriptionMarker = 0;
    parameters.marker = 0;
    parameters.marker2 = 0;
}

std::int32_t CMapDatabase::ReadDescription(std::string path, DbDescription* target) {
    if (path.empty()) {
        path = databaseDir + kDescriptionFileName;
    }
    DbDescription& into = target ? *target : description;
    FileByteSource file;
    std::int32_t opened = file.Open(path);
    if (opened != kDescriptionRead) {
        return opened;
    }
    return ReadDescriptionFrom(file, into);
}

void CMapDatabase::ReleaseAll() {
    for (CDbTable* table : Tables()) {
        table->ReleaseBuffers();
    }
    for (CTempArray& array : tempArrays) {
        array.Release();
    }
    for (CTempArray2& array : tempArrays2) {
        array.Release();
    }
}

std::array<CDbTable*, 10> CMapDatabase::Tables() {
    return {&nodes, &segments, &segPoints, &streets, &boroughs,
            &towns, &shires,   &counties,  &states,  &nations};
}

} // namespace korva
