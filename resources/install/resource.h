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

// String table: endings and checks of our own
#define IDS_INSTALL_NOT_COMPLETED 300
#define IDS_REMOVAL_DONE 301
#define IDS_REMOVAL_NOTHING 302
#define IDS_PATH_TOO_LONG 303

// String table: the cover window
#define IDS_COVER_DRAWING_ERROR 390
