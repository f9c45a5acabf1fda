#pragma once

// Resources of ui_tests.exe, shared by ui_tests.rc and the tests.
#define IDD_TEST 200
#define IDC_TEST_EDIT 1001
#define IDC_TEST_CHECK 1002
#define IDC_TEST_THREE_STATE 1003
#define IDC_TEST_BUTTON 1004
#define IDC_TEST_MISSING 1099
#define IDI_TEST_BLUE 300
#define IDI_TEST_RED 301
