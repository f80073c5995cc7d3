// Reading "db.dat": results, items, the container's directory, the five queries and the
// edition line the installer shows.
#include "mapdb/portable/description_reader.h"
#include "mapdb/portable/edition_info.h"
#include "mapdb/portable/map_database.h"
#include "mapdb/portable/string_lookup.h"
#include "tools/dbdat/description_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace korva;

namespace {

// A fresh directory per test under the system's temporary directory.
class Description : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("korva-mapdb-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir_);
    }

    std::string Dir() const { return dir_.string(); }
    std::string DbDat() const { return (dir_ / "db.dat").string(); }

    void WriteBytes(const std::string& bytes) const {
        std::ofstream(DbDat(), std::ios::binary | std::ios::trunc) << bytes;
    }
    void Write(const DescriptionFile& file) const {
        std::string error;
        auto bytes = EncodeDescription(file, error);
        ASSERT_TRUE(bytes) << error;
        WriteBytes(*bytes);
    }

    std::int32_t Read(DbDescription& into) const {
        CMapDatabase db;
        return db.ReadDescription(DbDat(), &into);
    }

    fs::path dir_;
};

DescriptionItem Text(std::uint16_t tag, std::string text) {
    return {tag, std::move(text)};
}
DescriptionItem Number(std::uint16_t tag, std::uint32_t value) {
    return {tag, LittleEndian(value, FixedTagWidth(tag))};
}

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int v : values) {
        bytes += static_cast<char>(v);
    }
    return bytes;
}

} // namespace

TEST_F(Description, TwoBytesFourAndThreeAreVersionThreeFour) {
    WriteBytes(Bytes({4, 3}));
    DbDescription d;
    EXPECT_EQ(Read(d), kDescriptionRead);
    EXPECT_EQ(d.versionMinor, 4);
    EXPECT_EQ(d.versionMajor, 3);
    EditionInfo info = QueryEditionInfo(Dir());
    EXPECT_EQ(info.editionName, "");
    EXPECT_EQ(FormatEditionInfo(info), "Edizione: \nAggiorn.: 00/00\nVersione:  3. 4.");
}

TEST_F(Description, MajorVersionBelowThreeIsRefusedWhateverFollows) {
    for (int major : {0, 1, 2}) {
        WriteBytes(Bytes({7, major, 2, 0, 3, 0, 'a', 'b', 'c'}));
        DbDescription d;
        d.editionName = "before";
        EXPECT_EQ(Read(d), kDescriptionTooOld) << major;
        EXPECT_EQ(d.editionName, "before");
        EXPECT_EQ(GetEditionName(Dir()), "");
        EXPECT_EQ(GetVersionMinor(Dir()), 0);
        EXPECT_EQ(GetVersionMajor(Dir()), 0);
    }
    WriteBytes(Bytes({7, 2}));
    DbDescription d;
    EXPECT_EQ(Read(d), kDescriptionTooOld);
}

TEST_F(Description, EveryTagReachesItsMemberAndLaterItemsWin) {
    DescriptionFile file{1, 4, {}};
    file.items = {Text(2, "Prima"),
                  Number(0, 0xBEEF),
                  Text(1, "uno"),
                  Number(3, 7),
                  Number(4, 12),
                  Number(5, 0),
                  Number(6, 6),
                  Number(7, 0x01020304),
                  Number(12, 12),
                  Number(13, 0x1313),
                  Number(14, 14),
                  Number(19, 0xFFFFFFFF),
                  Number(20, 20),
                  Number(23, 0x2323),
                  Number(24, 24),
                  Number(29, 29),
                  Number(30, 30),
                  Number(33, 0x3333),
                  {34, std::string(56, '\x34')},
                  Text(35, "tre cinque"),
                  Number(36, 36),
                  Number(37, 37),
                  Number(38, 38),
                  Number(39, 0x39393939),
                  Text(2, "Seconda")};
    Write(file);
    DbDescription d;
    ASSERT_EQ(Read(d), kDescriptionRead);
    EXPECT_EQ(d.versionMinor, 1);
    EXPECT_EQ(d.versionMajor, 4);
    EXPECT_EQ(d.editionName, "Seconda");
    EXPECT_EQ(d.word0, 0xBEEF);
    EXPECT_EQ(d.text1, "uno");
    EXPECT_EQ(d.updateFirst, 7);
    EXPECT_EQ(d.updateSecond, 12);
    EXPECT_EQ(d.byte5, 0);
    EXPECT_EQ(d.byte6, 6);
    EXPECT_EQ(d.longs7[0], 0x01020304u);
    EXPECT_EQ(d.longs7[5], 12u);
    EXPECT_EQ(d.word13, 0x1313);
    EXPECT_EQ(d.longs14[0], 14u);
    EXPECT_EQ(d.longs14[5], 0xFFFFFFFFu);
    EXPECT_EQ(d.words20[0], 20);
    EXPECT_EQ(d.words20[3], 0x2323);
    EXPECT_EQ(d.longs24[0], 24u);
    EXPECT_EQ(d.longs24[5], 29u);
    EXPECT_EQ(d.words30[0], 30);
    EXPECT_EQ(d.words30[3], 0x3333);
    for (std::uint8_t byte : d.block34) {
        EXPECT_EQ(byte, 0x34);
    }
    EXPECT_EQ(d.text35, "tre cinque");
    EXPECT_EQ(d.byte36, 36);
    EXPECT_EQ(d.byte37, 37);
    EXPECT_EQ(d.byte38, 38);
    EXPECT_EQ(d.long39, 0x39393939u);
}

TEST_F(Description, TagsAboveTheLastHaveNoPayload) {
    // Tag 40 and tag 0xFFFF between two items consume only their own two bytes.
    WriteBytes(Bytes({0, 3, 3, 0, 5, 40, 0, 0xFF, 0xFF, 4, 0, 6, 2, 0, 2, 0, 'o', 'k'}));
    DbDescription d;
    ASSERT_EQ(Read(d), kDescriptionRead);
    EXPECT_EQ(d.updateFirst, 5);
    EXPECT_EQ(d.updateSecond, 6);
    EXPECT_EQ(d.editionName, "ok");
}

TEST_F(Description, ZeroLengthTextEmptiesTheMember) {
    Write({0, 3, {Text(2, "")}});
    DbDescription d;
    d.editionName = "vecchio";
    ASSERT_EQ(Read(d), kDescriptionRead);
    EXPECT_EQ(d.editionName, "");
}

TEST_F(Description, AbsentTagsKeepTheirValues) {
    Write({2, 3, {Text(2, "Nord")}});
    CMapDatabase db;
    db.description_.updateFirst = 8;
    ASSERT_EQ(db.ReadDescription(DbDat()), kDescriptionRead); // the container's own
    EXPECT_EQ(db.description_.editionName, "Nord");
    EXPECT_EQ(db.description_.updateFirst, 8);
    EXPECT_EQ(db.description_.byte5, 1);
    EXPECT_EQ(db.description_.word13, 2);
    // The queries start from zeros.
    EXPECT_EQ(GetUpdateFirst(Dir()), 0);
}

TEST_F(Description, EmptyPathReadsTheDirectoryTextWithDbDatAppended) {
    Write({1, 3, {Text(2, "Centro")}});
    CMapDatabase db;
    db.databaseDir_ = Dir() + "\\";
    ASSERT_EQ(db.ReadDescription(""), kDescriptionRead);
    EXPECT_EQ(db.description_.editionName, "Centro");

    // No separator is inserted: without the backslash the name runs on.
    CMapDatabase other;
    other.databaseDir_ = Dir();
    EXPECT_EQ(other.ReadDescription(""), kDescriptionMissing);
    fs::copy_file(DbDat(), Dir() + "db.dat");
    EXPECT_EQ(other.ReadDescription(""), kDescriptionRead);
    fs::remove(Dir() + "db.dat");
}

TEST_F(Description, MissingFileOrDirectoryIsFourAndQueriesGiveZeros) {
    DbDescription d;
    EXPECT_EQ(Read(d), kDescriptionMissing);
    CMapDatabase db;
    EXPECT_EQ(db.ReadDescription(Dir() + "\\nothere\\db.dat"), kDescriptionMissing);
    EXPECT_EQ(GetEditionName(Dir()), "");
    EXPECT_EQ(GetUpdateFirst(Dir()), 0);
    EXPECT_EQ(GetUpdateSecond(Dir()), 0);
    EXPECT_EQ(GetVersionMinor(Dir()), 0);
    EXPECT_EQ(GetVersionMajor(Dir()), 0);
}

TEST_F(Description, UnopenableOrUnreadableFileIsFive) {
    // A directory named db.dat exists but cannot be read as a file.
    fs::create_directory(DbDat());
    DbDescription d;
    EXPECT_EQ(Read(d), kDescriptionUnreadable);
    fs::remove(DbDat());

    WriteBytes(Bytes({4, 3}));
    fs::permissions(DbDat(), fs::perms::none);
    if (::geteuid() != 0) { // root opens it anyway
        EXPECT_EQ(Read(d), kDescriptionUnreadable);
    }
}

// Whatever was read before the end came too early is never shown.
TEST_F(Description, ShortAndTruncatedFilesAreUnreadable) {
    const std::string cases[] = {
        Bytes({}),                           // empty
        Bytes({4}),                          // one version byte
        Bytes({4, 3, 2}),                    // one byte where a tag is expected
        Bytes({4, 3, 2, 0, 5}),              // text length cut
        Bytes({4, 3, 2, 0, 5, 0, 'a', 'b'}), // text cut
        Bytes({4, 3, 3, 0}),                 // byte payload missing
        Bytes({4, 3, 7, 0, 1, 2, 3}),        // 32-bit payload cut
        Bytes({4, 3, 34, 0, 1, 2}),          // block cut
        Bytes({4, 3, 3, 0, 9, 4}),           // good item, then half a tag
    };
    for (const std::string& bytes : cases) {
        WriteBytes(bytes);
        DbDescription d;
        d.updateFirst = 1;
        d.editionName = "prima";
        EXPECT_EQ(Read(d), kDescriptionUnreadable) << bytes.size();
        EXPECT_EQ(d.updateFirst, 1);
        EXPECT_EQ(d.editionName, "prima");
        EXPECT_EQ(d.versionMajor, 0);
        EXPECT_EQ(GetUpdateFirst(Dir()), 0);
        EXPECT_EQ(GetVersionMajor(Dir()), 0);
    }
}

TEST_F(Description, QueriesAndEditionLine) {
    Write({4, 3, {Text(2, "KORVA '98 Italia"), Number(3, 1), Number(4, 12)}});
    EditionInfo info = QueryEditionInfo(Dir());
    EXPECT_EQ(info.editionName, "KORVA '98 Italia");
    EXPECT_EQ(info.updateFirst, 1);
    EXPECT_EQ(info.updateSecond, 12);
    EXPECT_EQ(info.versionMajor, 3);
    EXPECT_EQ(info.versionMinor, 4);
    EXPECT_EQ(FormatEditionInfo(info),
              "Edizione: KORVA '98 Italia\nAggiorn.: 01/12\nVersione:  3. 4.");
    info.versionMajor = 12;
    info.versionMinor = 255;
    info.updateFirst = 100;
    EXPECT_EQ(FormatEditionInfo(info),
              "Edizione: KORVA '98 Italia\nAggiorn.: 100/12\nVersione: 12.255.");
    // A long name is formatted whole.
    info.editionName = std::string(5000, 'x');
    EXPECT_EQ(FormatEditionInfo(info),
              "Edizione: " + info.editionName + "\nAggiorn.: 100/12\nVersione: 12.255.");
}

TEST(DescriptionSource, ReadErrorAtATagIsUnreadableNotTheEnd) {
    class FailingSource : public MemorySource {
    public:
        explicit FailingSource(const std::string& bytes)
            : MemorySource(
                  std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size())),
              size_(bytes.size()) {}
        bool Failed() const override { return Position() == size_; }

    private:
        std::size_t size_;
    };
    const std::string bytes = Bytes({4, 3, 3, 0, 9});
    FailingSource source(bytes);
    DbDescription d;
    EXPECT_EQ(ReadDescriptionFrom(source, d), kDescriptionUnreadable);
}

TEST_F(Description, AFileCutAtEveryByteIsReadWholeOrNotAtAll) {
    DescriptionFile file{4, 3, {Text(2, "KORVA '98 Italia"), Number(3, 1), Number(4, 12)}};
    std::string error;
    const std::string full = *EncodeDescription(file, error);
    for (std::size_t length = 0; length < full.size(); ++length) {
        WriteBytes(full.substr(0, length));
        DbDescription d;
        d.editionName = "prima";
        const std::int32_t result = Read(d);
        ASSERT_TRUE(result == 0 || result == kDescriptionUnreadable) << length;
        if (result == 0) {
            // Only whole items count: the name is the old one or the whole new one.
            EXPECT_TRUE(d.editionName == "prima" || d.editionName == "KORVA '98 Italia") << length;
            EXPECT_TRUE(d.updateSecond == 0 || d.updateSecond == 12) << length;
        } else {
            EXPECT_EQ(d.editionName, "prima") << length;
        }
        const EditionInfo info = QueryEditionInfo(Dir());
        EXPECT_TRUE(info.editionName.empty() || info.editionName == "KORVA '98 Italia") << length;
    }
}
