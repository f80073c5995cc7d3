#include "mapdb/portable/db_table.h"

#include "mapdb/portable/string_lookup.h"

#include <cassert>
#include <utility>

namespace korva {

namespace {

// Frees a vector's storage, not only its elements.
template <typename T> void FreeStorage(std::vector<T>& values) {
    std::vector<T>().swap(values);
}

} // namespace

CDbTable::CDbTable(std::uint16_t fieldCount) : fieldCount_(fieldCount) {
    ResetWorkState();
    // Value-initialised entries: the kind bits (and the bits the map program owns) start at 0.
    fields_ = std::make_unique<FieldSpec[]>(fieldCount);
    for (unsigned i = 0; i < fieldCount; ++i) {
        fields_[i].SetKind(0);
    }
    for (std::uint32_t& counter : counters_) {
        counter = 0;
    }
}

CDbTable::~CDbTable() {
    ReleaseBuffers();
    fields_.reset();
}

// The working pointers own what they point to, so putting them back to null also frees
// anything still held: a table reset without a release first does not leak.
void CDbTable::ResetWorkState() {
    workingStep_ = 100;
    workCounters_[0] = 0;
    workCounters_[1] = 0;
    for (std::uint32_t& value : workValues_) {
        value = 0;
    }
    keyList1_.clear();
    keyList2_.clear();
    for (auto& buffer : recordBuffers_) {
        buffer.reset();
    }
    objects_.clear();
    trailingBuffer_.reset();
}

void CDbTable::ReleaseBuffers() {
    // The key lists are freed by their own length, never by the header's counts, so a header
    // that disagrees with a list cannot make the release read past its end.
    for (KeyEntry& entry : keyList1_) {
        entry.buffer.reset();
    }
    FreeStorage(keyList1_);
    for (KeyEntry& entry : keyList2_) {
        entry.buffer.reset();
    }
    FreeStorage(keyList2_);
    FreeStorage(wordArray1_);
    FreeStorage(wordArray2_);
    for (auto& buffer : recordBuffers_) {
        buffer.reset();
    }
    for (ObjectPair& pair : objects_) {
        if (pair.array) {
            FreeStorage(pair.array->values_);
        }
        pair.array.reset();
        pair.buffer.reset();
    }
    FreeStorage(objects_);
    trailingBuffer_.reset();
    ResetWorkState();
}

unsigned CDbTable::RecordBytes() const {
    unsigned total = 0;
    for (unsigned i = 0; i < fieldCount_; ++i) {
        total += fields_[i].width;
    }
    return total;
}

void CDbTable::SetWidths(std::initializer_list<std::uint16_t> widths) {
    assert(widths.size() == fieldCount_);
    unsigned i = 0;
    for (std::uint16_t width : widths) {
        if (i < fieldCount_) {
            fields_[i++].width = width;
        }
    }
}

void CDbTable::SetTags(const char* tag1, const char* tag2) {
    tag1_ = tag1;
    tag2_ = tag2;
}

void CDbTable::SetDisplayName(unsigned stringNumber) {
    displayName_ = LoadResString(stringNumber);
}

} // namespace korva
