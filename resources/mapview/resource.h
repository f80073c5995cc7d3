// Resource numbers of the map viewer.
#pragma once

#define IDS_MAPVIEW_CAPTION 1
#define IDS_MAPVIEW_WAITING 2
#define IDS_MAPVIEW_ELEMENT 3
#define IDS_MAPVIEW_POINT 4
#define IDS_MAPVIEW_FOLLOW 5
