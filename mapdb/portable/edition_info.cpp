#include "mapdb/portable/edition_info.h"

#include "mapdb/portable/map_database.h"
#include "mapdb/portable/mapdb_text_ids.h"
#include "mapdb/portable/string_lookup.h"

#include <cstdio>
#include <new>
#include <vector>

namespace korva {

namespace {

// One read of "<dir>\db.dat"; the description starts from zeros so that a member whose tag
// is absent reads as 0. Nothing is kept when the read fails.
bool ReadEdition(const std::string& dir, DbDescription& out) {
    try {
        CMapDatabase database;
        DbDescription description;
        if (database.ReadDescription(dir + "\\" + kDescriptionFileName, &description) !=
            kDescriptionRead) {
            return false;
        }
        out = std::move(description);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

} // namespace

std::string GetEditionName(std::string dir) {
    DbDescription d;
    return ReadEdition(dir, d) ? d.editionName : std::string();
}

std::uint8_t GetUpdateFirst(std::string dir) {
    DbDescription d;
    return ReadEdition(dir, d) ? d.updateFirst : 0;
}

std::uint8_t GetUpdateSecond(std::string dir) {
    DbDescription d;
    return ReadEdition(dir, d) ? d.updateSecond : 0;
}

std::uint8_t GetVersionMinor(std::string dir) {
    DbDescription d;
    return ReadEdition(dir, d) ? d.versionMinor : 0;
}

std::uint8_t GetVersionMajor(std::string dir) {
    DbDescription d;
    return ReadEdition(dir, d) ? d.versionMajor : 0;
}

EditionInfo QueryEditionInfo(const std::string& dir) {
    // One read for every field: the file is on the CD.
    EditionInfo info;
    DbDescription d;
    if (ReadEdition(dir, d)) {
        info.editionName = d.editionName;
        info.updateFirst = d.updateFirst;
        info.updateSecond = d.updateSecond;
        info.versionMinor = d.versionMinor;
        info.versionMajor = d.versionMajor;
    }
    return info;
}

std::string FormatEditionInfo(const EditionInfo& info) {
    std::string format = LoadResString(IDS_EDITION_INFO);
    // The name is a text of the file and may hold a zero byte; it is shown up to there.
    const char* name = info.editionName.c_str();
    int length = std::snprintf(nullptr, 0, format.c_str(), name, info.updateFirst,
                               info.updateSecond, info.versionMajor, info.versionMinor);
    if (length <= 0) {
        return {};
    }
    std::vector<char> text(static_cast<std::size_t>(length) + 1);
    std::snprintf(text.data(), text.size(), format.c_str(), name, info.updateFirst,
                  info.updateSecond, info.versionMajor, info.versionMinor);
    return std::string(text.data(), static_cast<std::size_t>(length));
}

} // namespace korva
