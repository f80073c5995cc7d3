// Resource numbers of the installer: dialog templates, controls and string-table entries.
#pragma once

// Dialog templates
#define IDD_PATH_PROMPT 102
#define IDD_COPY_PROGRESS 112
#define IDD_COVER 114
#define IDD_INSTALL_TYPE 116
#define IDD_WELCOME 125
#define IDD_MAIN_MENU 133

// Path prompt
#define IDC_PROMPT_EDIT 1001
#define IDC_PROMPT_TEXT 1003

// Copy progress window
#define IDC_PROGRESS_FILE 1005
#define IDC_PROGRESS_BAR 1017
#define IDC_PROGRESS_PERCENT 1018
#define IDC_PROGRESS_CAPTION 1019
#define IDC_PROGRESS_EDITION 1024

// Install type
#define IDC_TYPE_MINIMAL 1026
#define IDC_TYPE_RECOMMENDED 1027
#define IDC_TYPE_COMPLETE 1028
#define IDC_TYPE_MINIMAL_TEXT 1031
#define IDC_TYPE_RECOMMENDED_TEXT 1032
#define IDC_TYPE_COMPLETE_TEXT 1033

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
#define IDS_FILE_NOT_FOUND 3
#define IDS_EARLIER_NETWORK 4
#define IDS_CREATE_ICON 6
#define IDS_SOURCE_UNRECOGNISED 23
#define IDS_DISK_SPACE_GROUP 24
#define IDS_TYPE_MINIMAL_TEXT 29
#define IDS_TYPE_RECOMMENDED_TEXT 30
#define IDS_TYPE_COMPLETE_TEXT 31
#define IDS_PROGRESS_TITLE 33
#define IDS_PROGRESS_COPYING 34
#define IDS_DISK_SPACE_RUN 37
#define IDS_DONE 17
#define IDS_DONE_RESTART 22
#define IDS_DONE_INCOMPATIBLE 36
#define IDS_APP_TITLE 57344
#define IDS_EDITION_ABSENT 61223
#define IDS_EDITION_FILM_OFFER 61225

// String table: the edition line and the display names of the road database's tables
#include "mapdb/portable/mapdb_text_ids.h"

// String table: endings and checks of our own
#define IDS_INSTALL_NOT_COMPLETED 300
#define IDS_REMOVAL_DONE 301
#define IDS_REMOVAL_NOTHING 302
#define IDS_PATH_TOO_LONG 303
#define IDS_DESTINATION_REFUSED 304
#define IDS_PROMPT_SOURCE 310
#define IDS_PROMPT_DESTINATION 311
#define IDS_PROMPT_DATA_DIR 312
#define IDS_NO_AREAS 313
#define IDS_DESTINATION_FAULT 320
#define IDS_CAUSE_NOT_WRITABLE 321
#define IDS_CAUSE_IN_USE 322
#define IDS_CAUSE_DISK_FULL 323
#define IDS_CAUSE_NO_DIRECTORY 324
#define IDS_CAUSE_NOT_A_FILE 325

// String table: the cover window
#define IDS_COVER_DRAWING_ERROR 390

// Screen capture dialog "Salva lo schermo"
#define IDD_SCREEN_CAPTURE 113
#define IDC_CAPTURE_X1 1103
#define IDC_CAPTURE_X2 1105
#define IDC_CAPTURE_FILE 1107
#define IDC_CAPTURE_Y1 1108
#define IDC_CAPTURE_Y2 1109
#define IDC_CAPTURE_16_COLOURS 1112
#define IDC_CAPTURE_256_COLOURS 1113
#define IDC_CAPTURE_PREVIOUS_WINDOW 1114
#define IDC_CAPTURE_MAIN_WINDOW 1115
#define IDC_CAPTURE_WHOLE_SCREEN 1116
#define IDC_CAPTURE_SCREEN_PART 1117
#define IDC_CAPTURE_BROWSE 1118
#define IDC_CAPTURE_CLIENT_AREA 1480
// The framework's data-exchange message for a field that must hold a whole number
#define IDS_PARSE_INT 61712
