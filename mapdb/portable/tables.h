// The ten tables of the road database. Each fixes its field list, its tags and its display name;
// the seven tables with a name field (and an index file) add a working name of their own.
#pragma once

#include "mapdb/portable/db_table.h"

#include <array>
#include <cstdint>
#include <string>

namespace korva {

class CNodeTable : public CDbTable {
public:
    CNodeTable();
    std::uint32_t nodeWork_[8] = {};
};

class CSegmentTable : public CDbTable {
public:
    CSegmentTable();
    std::uint32_t segmentWork_[8] = {};
    // Steps of the segment search, smallest first.
    std::array<std::uint16_t, 8> steps_ = {1, 2, 5, 10, 50, 100, 500, 1000};
};

class CSegPointTable : public CDbTable {
public:
    CSegPointTable();
};

class CStreetTable : public CDbTable {
public:
    CStreetTable();
    std::string ownName_;
    std::uint32_t streetWork_ = 0;
};

class CBoroughTable : public CDbTable {
public:
    CBoroughTable();
    std::string ownName_;
    std::uint32_t boroughWork_ = 0;
};

class CTownTable : public CDbTable {
public:
    CTownTable();
    std::string ownName_;
    std::uint32_t townWork_ = 0;
};

class CShireTable : public CDbTable {
public:
    CShireTable();
    std::string ownName_;
    std::uint32_t shireWork_ = 0;
};

class CCountyTable : public CDbTable {
public:
    CCountyTable();
    std::string ownName_;
    std::uint32_t countyWork_ = 0;
};

class CStateTable : public CDbTable {
public:
    CStateTable();
    std::string ownName_;
    std::uint32_t stateWork_ = 0;
};

class CNationTable : public CDbTable {
public:
    CNationTable();
    std::string ownName_;
    std::uint32_t nationWork_ = 0;
};

} // namespace korva
