// Resource IDs of TkrPassword's windows.
#pragma once

#define IDD_OLD_PASSWORD 101
#define IDD_PASSWORD_MAIN 107

// Main window
#define IDC_NEW_PASSWORD 1001
#define IDC_HIDE_NEW_PASSWORD 1002
#define IDC_PASSWORD_LOG 1003

// Old-password dialog
#define IDC_OLD_PASSWORD 1005
#define IDC_ARCHIVE_INFO 1006
