// Command and string numbers the framework itself handles; included by the programs' .rc
// files as well, so it holds plain definitions only.
#pragma once

// Commands of the standard menu items.
#define ID_APP_ABOUT 0xE140
#define ID_APP_EXIT 0xE141

// Strings: the name of a document that has none (shown in the frame's caption).
#define IDS_FW_UNTITLED 0xF003

// Control id of a frame's view window.
#define IDW_PANE_FIRST 0xE900
