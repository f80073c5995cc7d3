// Resource ids of the dialog the framework's window tests run.
#pragma once

#define IDD_FRAMEWORK_TEST 101
#define IDC_FRAMEWORK_THROW 1001
