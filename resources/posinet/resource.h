// Resource numbers of posinet: main-window template, dialogs, controls, commands, strings.
#pragma once

// Menu, title string and frame of the single-document template
#define IDR_MAINFRAME 2

// Dialog templates
#define IDD_ABOUTBOX 100
#define IDD_GOTO_POINT 102
#define IDD_FOLLOW_ELEMENT 103

// Controls
#define IDC_LONGITUDE 1000
#define IDC_LATITUDE 1001
#define IDC_ELEMENT_NUMBER 1002

// Commands addressed to the map program
#define ID_GOTO_POINT 32771
#define ID_FOLLOW_ELEMENT 32772

// Strings
#define IDS_APP_TITLE 57344
#define IDS_ELEMENT_NUMBER_RANGE 300
