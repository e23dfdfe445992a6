// sarrow/resource.h
// Resource and control ids of Sarrow. The numbers are fixed: templates, pictures and strings are
// addressed by them.
#pragma once

// Templates
#define IDD_ABOUTBOX 100
#define IDD_REPAIR 102
#define IDD_LICENSE 103
#define IDD_WARNING_SPLASH 104
#define IDD_FAILURE 147
#define IDD_SUCCESS 148

// Icon and pictures
#define IDR_MAINFRAME 128
#define IDB_REPAIR_BACKGROUND 129
#define IDB_KEY 134
#define IDB_KEY_PRESSED 136
#define IDB_CLOSE 137
#define IDB_MINIMISE 138
#define IDB_CLOSE_LIT 139
#define IDB_MINIMISE_LIT 140
#define IDB_LICENSE_BACKGROUND 141
#define IDB_SPLASH_FRAME_1 142
#define IDB_SPLASH_FRAME_2 143
#define IDB_SPLASH_FRAME_3 144
#define IDB_SPLASH_FRAME_4 145
#define IDB_FAILURE_BACKGROUND 148
#define IDB_SUCCESS_BACKGROUND 149

// The firmware image the upload sends
#define IDR_ISP_FIRMWARE 200
#define RT_ISP_FIRMWARE "FIRMWARE"

// Controls
#define IDC_CLOSE 1002
#define IDC_MINIMISE 1003
#define IDC_START 1004
#define IDC_AGREE 1004
#define IDC_FAST 1005
#define IDC_END 1006
#define IDC_NOT_AGREE 1006
#define IDC_COMPLETE 1007
#define IDC_DEVICE_BOX 1008
#define IDC_PROGRESS 1009
#define IDC_WARNING_BACKUP 1014
#define IDC_WARNING_DATA_LOSS 1015
#define IDC_WARNING_TITLE 1016
#define IDC_LICENSE_TEXT 1017
#define IDC_OPTION_CAPTION 1019
#define IDC_DEVICE_CAPTION 1020
#define IDC_FAILURE_TEXT 1021
#define IDC_SUCCESS_TEXT 1022
#define IDC_STATUS 1023

// Strings
#define IDS_WARNING_BACKUP 1
#define IDS_WARNING_DATA_LOSS 2
#define IDS_WARNING_TITLE 3
#define IDS_AGREE 4
#define IDS_NOT_AGREE 5
#define IDS_START 6
#define IDS_END 7
#define IDS_DEVICE 8
#define IDS_OPTION 9
#define IDS_FAST 10
#define IDS_COMPLETE 11
#define IDS_ABOUTBOX 101
#define IDS_START_BUTTON 106
#define IDS_RECOVERY_COMPLETED 107
#define IDS_OPEN_DISK_FAILED 109
#define IDS_FORMAT_FAILED 110
#define IDS_CAPACITY_INVALID 112
#define IDS_UNSUPPORTED_DEVICE 115
#define IDS_ISP_WRITE_FAILED 118
#define IDS_NO_DISK 120
#define IDS_REPAIRING 121

// System menu command of the About item
#define IDM_ABOUTBOX 0x0010
