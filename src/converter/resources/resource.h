// Resource IDs of TkrConverter's windows.
#pragma once

#define IDD_CONVERTER_MAIN 102
#define IDD_CONVERTER_QUEUE 103

// Main window
#define IDC_LIST_FILES 1001
#define IDC_DELETE 1002
#define IDC_BROWSE 1003
#define IDC_SET_PASSWORD 1005
#define IDC_PASSWORD 1006
#define IDC_HIDE_PASSWORD 1007
#define IDC_START 1008
#define IDC_DELETE_ALL 1013

// Queue dialog
#define IDC_QUEUE 1010
#define IDC_QUEUE_LOG 1011
#define IDC_ABORT 1012
