// Ids of the photo program's test dialogs.
#pragma once

#define IDD_TEST_VIEWS 300
#define IDD_TEST_LINKS 301
#define IDC_TEST_ORIGINAL 1001
#define IDC_TEST_RESULT 1004
#define IDC_TEST_TEXT_LINK 1101
#define IDC_TEST_EMPTY_LINK 1102
#define IDC_TEST_CENTRED_LINK 1103
#define IDC_TEST_RIGHT_LINK 1104
