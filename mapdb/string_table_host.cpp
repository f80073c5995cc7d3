// The installer's texts that the database layer uses, for builds without its resources.
// They must equal the entries of the installer's string table (a host test compares them).
#include "mapdb/portable/string_lookup.h"

#include "mapdb/portable/mapdb_text_ids.h"

namespace korva {

namespace {

struct Entry {
    unsigned number;
    const char* text; // Windows-1252
};

constexpr Entry kTexts[] = {
    {IDS_EDITION_INFO, "Edizione: %s\nAggiorn.: %02d/%02d\nVersione: %2d.%2d."},
    {IDS_TABLE_STREETS, "Strade"},
    {IDS_TABLE_NODES, "Nodi"},
    {IDS_TABLE_SEGMENTS, "Segmenti"},
    {IDS_TABLE_SEGMENT_POINTS, "Punti di segmento"},
    {IDS_TABLE_BOROUGHS, "Localit\xE0"},
    {IDS_TABLE_TOWNS, "Citt\xE0"},
    {IDS_TABLE_SHIRES, "Province"},
    {IDS_TABLE_REGIONS, "Regioni"},
    {IDS_TABLE_STATES, "Stati"},
    {IDS_TABLE_NATIONS, "Nazioni"},
};

} // namespace

std::string DefaultStringLookup(unsigned number) {
    for (const Entry& entry : kTexts) {
        if (entry.number == number) {
            return entry.text;
        }
    }
    return {};
}

} // namespace korva
