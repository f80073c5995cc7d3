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
    for (std::size_t i = 0; i < tempArrays_.size(); ++i) {
        tempArrays_[i].growthStep_ = kTempArraySteps[i];
    }
    for (std::size_t i = 0; i < tempArrays2_.size(); ++i) {
        tempArrays2_[i].growthStep_ = kTempArray2Steps[i];
    }
    textTable_[0].clear();
}

// Members are destroyed in reverse order after the release: the texts, the temporary arrays
// (second group last to first, then the first), the tables from nations back to nodes and
// the two lists.
CMapDatabase::~CMapDatabase() {
    ReleaseAll();
}

void CMapDatabase::ResetDescription() {
    description_.byte5 = 1;
    description_.word13 = 2;
    description_.longs14 = {};
    description_.words20 = {};
    description_.longs24 = {};
    description_.words30 = {};
    descriptionMarker_ = 0;
    parameters_.marker = 0;
    parameters_.marker2 = 0;
}

std::int32_t CMapDatabase::ReadDescription(std::string path, DbDescription* target) {
    if (path.empty()) {
        path = databaseDir_ + kDescriptionFileName;
    }
    DbDescription& into = target ? *target : description_;
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
    for (CTempArray& array : tempArrays_) {
        array.Release();
    }
    for (CTempArray2& array : tempArrays2_) {
        array.Release();
    }
}

std::array<CDbTable*, 10> CMapDatabase::Tables() {
    return {&nodes_, &segments_, &segPoints_, &streets_, &boroughs_,
            &towns_, &shires_,   &counties_,  &states_,  &nations_};
}

} // namespace korva
