// Resource numbers of the installer: dialog templates, controls and string-table entries.
#pragma once

// Dialog templates
#define IDD_PATH_PROMPT 102
#define IDD_COPY_PROGRESS 112
#define IDD_COVER 114
#define IDD_INSTALL_TYPE 116
#define IDD_WELCOME 125
#define IDD_MAIN_MENU 133

// Welcome dialog
#define IDC_LANG_ITALIANO 1048
#define IDC_LANG_ENGLISH 1049

// Main menu: one command per edition, and the demonstration
#define IDC_EDITION_MILANO 1060
#define IDC_EDITION_ITALIA 1061
#define IDC_EDITION_EUROPA 1062
#define IDC_EDITION_TORINO 1063
#define IDC_EDITION_ROMA 1064
#define IDC_DEMONSTRATION 1066

// String table: the product's messages
#define IDS_COVER_CAPTION 2
#define IDS_DONE 17
#define IDS_DONE_RESTART 22
#define IDS_DONE_INCOMPATIBLE 36
#define IDS_APP_TITLE 57344
#define IDS_EDITION_ABSENT 61223
#define IDS_EDITION_FILM_OFFER 61225

// String table: the edition line and the display names of the road database's tables
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

// String table: endings and checks of our own
#define IDS_INSTALL_NOT_COMPLETED 300
#define IDS_REMOVAL_DONE 301
#define IDS_REMOVAL_NOTHING 302
#define IDS_PATH_TOO_LONG 303
