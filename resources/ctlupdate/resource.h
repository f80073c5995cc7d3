// Resource numbers of the common-controls updater: its string table.
#pragma once

#define IDS_CAPTION 1
#define IDS_ONLY_WINDOWS_95 2
#define IDS_ASK_CONTINUE 3
#define IDS_NOT_NEEDED 4
#define IDS_ASK_PROCEED 5
#define IDS_DONE 6

// Texts of our own
#define IDS_FAILED 100
