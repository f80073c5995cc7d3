// Resources of the capture test program: the installer's own, and its test dialog.
#pragma once

#define IDD_CAPTURE_TEST 900
#define IDC_CAPTURE_TEST_TEXT 901
#define IDC_CAPTURE_TEST_OPTION 902
