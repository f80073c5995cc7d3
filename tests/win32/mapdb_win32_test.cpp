// The database layer inside a Windows program: texts from the installer's string table and
// "db.dat" read through Windows paths.
#include "mapdb/portable/edition_info.h"
#include "mapdb/portable/map_database.h"
#include "mapdb/portable/string_lookup.h"
#include "mapdb/portable/tables.h"
#include "scratch.h"
#include "test_name.h"

#include <gtest/gtest.h>

using namespace korva;

namespace {

std::string Scratch() {
    return testfs::FreshScratchDir(std::string("mapdb-") + testfs::TestName());
}

} // namespace

TEST(MapDbWin32, TableNamesAndEditionLineComeFromTheStringTable) {
    EXPECT_EQ(CBoroughTable().DisplayName(), "Località");
    EXPECT_EQ(CTownTable().DisplayName(), "Città");
    EXPECT_EQ(CStreetTable().DisplayName(), "Strade");
    EXPECT_EQ(CNationTable().DisplayName(), "Nazioni");
    EXPECT_EQ(LoadResString(61686), "Regioni");
    EXPECT_EQ(LoadResString(1), "");
    EditionInfo info{"Italia", 2, 7, 3, 4};
    EXPECT_EQ(FormatEditionInfo(info), "Edizione: Italia\nAggiorn.: 02/07\nVersione:  3. 4.");
}

TEST(MapDbWin32, QueriesReadDbDatThroughWindowsPaths) {
    std::string dir = Scratch();
    testfs::WriteFile(dir + "\\db.dat",
                      std::string("\x04\x03\x02\x00\x04\x00Nord\x03\x00\x05", 13));
    EditionInfo info = QueryEditionInfo(dir);
    EXPECT_EQ(info.editionName, "Nord");
    EXPECT_EQ(info.updateFirst, 5);
    EXPECT_EQ(info.versionMajor, 3);
    EXPECT_EQ(info.versionMinor, 4);

    CMapDatabase db;
    db.databaseDir_ = dir + "\\";
    EXPECT_EQ(db.ReadDescription(""), kDescriptionRead);
    EXPECT_EQ(db.description_.editionName, "Nord");
}

TEST(MapDbWin32, MissingFileOrDirectoryIsFourAndADirectoryIsFive) {
    std::string dir = Scratch();
    CMapDatabase db;
    EXPECT_EQ(db.ReadDescription(dir + "\\db.dat"), kDescriptionMissing);
    EXPECT_EQ(db.ReadDescription(dir + "\\nothere\\db.dat"), kDescriptionMissing);
    EXPECT_EQ(GetEditionName(dir + "\\nothere"), "");
    testfs::MakeDirs(dir + "\\db.dat");
    EXPECT_EQ(db.ReadDescription(dir + "\\db.dat"), kDescriptionUnreadable);
}
