// The road database container: the ten table descriptors, the temporary arrays, the
// description of the edition and the map program's default parameters. The installer builds
// one for each read of a description and destroys it afterwards.
#pragma once

#include "mapdb/portable/db_description.h"
#include "mapdb/portable/tables.h"
#include "mapdb/portable/temp_array.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace korva {

// The description file of a database directory.
constexpr const char* kDescriptionFileName = "db.dat";
// Deleted-record files, one per table in the container's table order.
constexpr const char* kDeletionFileNames[10] = {
    "delnode.dat", "delseg.dat",   "delspnt.dat",  "delstre.dat",  "delboro.dat",
    "deltown.dat", "delshire.dat", "delcount.dat", "delstate.dat", "delnatio.dat"};
// Index files of the seven tables with a name field.
constexpr const char* kIndexFileNames[7] = {"streets.ndx", "boroughs.ndx", "towns.ndx",
                                            "shires.ndx",  "counties.ndx", "states.ndx",
                                            "nations.ndx"};

// Degrees to the radians the parameter block stores.
constexpr double DegreesToRadians(double degrees) {
    return degrees * 3.14159265359 / 180;
}

struct AngleSector {
    double from;
    double to;
    std::uint8_t values[4];
};

struct LastAngleSector {
    double from;
    double to;
    std::uint32_t value;
};

// The map program's default parameters; nothing here reads them.
struct DbParameters {
    std::uint8_t marker = 0;
    std::uint8_t hours[5] = {7, 8, 9, 17, 20};
    std::uint8_t minutes[5] = {0, 0, 30, 0, 0};
    std::uint8_t unset1[2] = {};
    std::uint8_t marker2 = 0;
    std::uint8_t switchOn = 1;
    std::uint8_t values[39] = {40, 30, 50, 40, 65, 45, 35, 55, 45, 70, 45, 35, 55,
                               45, 70, 45, 35, 55, 45, 70, 40, 30, 50, 40, 70, 45,
                               35, 55, 45, 60, 65, 60, 50, 45, 50, 4,  15, 20, 60};
    AngleSector sector1 = {DegreesToRadians(40), DegreesToRadians(150), {1, 10, 17, 44}};
    AngleSector sector2 = {DegreesToRadians(-40), DegreesToRadians(40), {3, 12, 17, 52}};
    AngleSector sector3 = {DegreesToRadians(-150), DegreesToRadians(-40), {8, 22, 27, 70}};
    LastAngleSector sector4 = {-3.14159265359, DegreesToRadians(-150), 500};
    std::uint8_t unset2[24] = {};
    std::uint32_t counters[4] = {};
    float factors[14][5] = {};
    float lastFactors[4] = {0.8f, 0.9f, 0.7f, 0.5f};

    DbParameters();
};

// A record of the container's record list.
struct DbRecord28 {
    std::uint8_t bytes[28];
};

class CMapDatabase {
public:
    CMapDatabase();
    CMapDatabase(const CMapDatabase&) = delete;
    CMapDatabase& operator=(const CMapDatabase&) = delete;
    ~CMapDatabase();

    // Gives the description its defaults and clears the markers.
    void ResetDescription();
    // Reads "db.dat" at `path` (empty: the database directory followed directly by "db.dat")
    // into `target`, or into the container's own description when `target` is null.
    // Returns 0, 4 (no such file), 5 (cannot be opened or read) or 25 (major version below 3).
    std::int32_t ReadDescription(std::string path, DbDescription* target = nullptr);
    // Frees the working memory of every table and temporary array; the container stays usable.
    void ReleaseAll();

    std::vector<DbRecord28> recordList_;
    std::vector<std::uint32_t> numberList_;

    CNodeTable nodes_;
    CSegmentTable segments_;
    CSegPointTable segPoints_;
    CStreetTable streets_;
    CBoroughTable boroughs_;
    CTownTable towns_;
    CShireTable shires_;
    CCountyTable counties_;
    CStateTable states_;
    CNationTable nations_;

    std::array<CTempArray, 9> tempArrays_;
    std::array<CTempArray2, 8> tempArrays2_;

    std::uint16_t descriptionMarker_ = 0;
    DbDescription description_;
    std::string databaseDir_;
    std::string furtherTexts_[2];
    std::array<std::string, 44> textTable_;
    DbParameters parameters_;

    // The tables in the container's order.
    std::array<CDbTable*, 10> Tables();
};

} // namespace korva
