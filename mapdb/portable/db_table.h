// The table descriptor of the road database: the field list, the tags and the display name of
// one table, and the working members that record, search and index operations use. This
// program only builds, releases and destroys descriptors; it never opens a table file.
#pragma once

#include "framework/portable/object.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace korva {

// One field of a table record.
struct FieldSpec {
    std::uint16_t width = 0;
    // High four bits: the field's kind (1 for a name field, 0 otherwise); low four bits are
    // the map program's.
    std::uint8_t flags = 0;
    std::uint8_t order = 0;
    std::uint32_t offset = 0;

    unsigned Kind() const { return flags >> 4; }
    void SetKind(unsigned kind) {
        flags = static_cast<std::uint8_t>((flags & 0x0F) | ((kind & 0x0F) << 4));
    }
};

// Working header of a table; the two counts size the key lists.
struct DbTableHeader {
    std::uint32_t recordCount = 0;
    std::uint32_t deletedCount = 0;
    std::uint16_t keyCount1 = 0;
    std::uint16_t keyCount2 = 0;
};

// An entry of a key list: a 16-bit value and the buffer it owns.
struct KeyEntry {
    std::uint16_t value = 0;
    std::unique_ptr<std::uint8_t[]> buffer;
};

// A growable array of 16-bit values.
using WordArray = std::vector<std::uint16_t>;

// An array object of the object list, with its storage; deleted through its virtual destructor.
class CWordArrayObject : public CObject {
public:
    WordArray values_;
};

struct ObjectPair {
    std::unique_ptr<CWordArrayObject> array;
    std::unique_ptr<std::uint8_t[]> buffer;
};

// Members follow the descriptor's declaration order; the working ones are public so that the
// release rules can be exercised, although nothing in the installer fills them.
class CDbTable : public CObject {
public:
    explicit CDbTable(std::uint16_t fieldCount);
    ~CDbTable() override;

    // Puts the working values back to their initial state.
    void ResetWorkState();
    // Frees every working buffer; the table is then as newly built.
    void ReleaseBuffers();

    std::uint16_t FieldCount() const { return fieldCount_; }
    const FieldSpec& Field(std::uint16_t index) const { return fields_[index]; }
    const std::string& Tag1() const { return tag1_; }
    const std::string& Tag2() const { return tag2_; }
    const std::string& DisplayName() const { return displayName_; }
    std::uint16_t AuxiliaryLength() const { return auxiliaryLength_; }
    std::uint16_t WorkingStep() const { return workingStep_; }
    // The sum of the field widths: the bytes of one record.
    unsigned RecordBytes() const;

    DbTableHeader header_;
    std::string workNames_[4];

private:
    std::unique_ptr<FieldSpec[]> fields_;

public:
    std::unique_ptr<std::uint8_t[]> recordBuffers_[3];
    std::vector<ObjectPair> objects_;

private:
    std::uint16_t auxiliaryLength_ = 0;
    std::uint16_t workingStep_ = 100;
    std::string tag1_;
    std::string tag2_;
    std::string displayName_;

public:
    std::string workName_;

private:
    std::uint16_t fieldCount_;

public:
    std::vector<KeyEntry> keyList1_;
    std::vector<KeyEntry> keyList2_;
    WordArray wordArray1_;
    WordArray wordArray2_;
    std::string moreWorkNames_[3];
    std::uint16_t workCounters_[2] = {};
    std::uint32_t workValues_[3] = {};
    std::uint32_t counters_[4] = {};
    std::unique_ptr<std::uint8_t[]> trailingBuffer_;

protected:
    void SetWidths(std::initializer_list<std::uint16_t> widths);
    void SetNameField() { fields_[0].SetKind(1); }
    void SetTags(const char* tag1, const char* tag2);
    void SetDisplayName(unsigned stringNumber);
    void SetAuxiliaryLength(std::uint16_t length) { auxiliaryLength_ = length; }
};

} // namespace korva
