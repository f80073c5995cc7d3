// The numbers of the texts the road database layer shows: the edition line and the tables'
// display names. A program that uses the layer has these entries in its string table; the
// layer finds them through its lookup (string_lookup.h).
#pragma once

#define IDS_EDITION_INFO 27
#define IDS_TABLE_STREETS 61631
#define IDS_TABLE_NODES 61680
#define IDS_TABLE_SEGMENTS 61681
#define IDS_TABLE_SEGMENT_POINTS 61682
#define IDS_TABLE_BOROUGHS 61683
#define IDS_TABLE_TOWNS 61684
#define IDS_TABLE_SHIRES 61685
#define IDS_TABLE_REGIONS 61686
#define IDS_TABLE_STATES 61687
#define IDS_TABLE_NATIONS 61688
