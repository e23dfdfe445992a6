// brimlet/resource.h
// Brimlet's dialog templates and control ids; the pictures, strings and carried files are
// numbered in resources/resource_ids.h. The numbers are fixed: templates and controls are
// addressed by them.
#pragma once

#include "brimlet/resources/resource_ids.h"

// Templates
#define IDD_REPAIR_MANAGER 102
#define IDD_SPLASH 103
#define IDD_AGREEMENT 104
#define IDD_MESSAGE 105

// Controls
#define IDC_PIE_CHART 1000
#define IDC_TEXT_PROGRESS 1001
#define IDC_DEVICE_FRAME 1002
#define IDC_OPTION_FRAME 1003
#define IDC_FAST 1004
#define IDC_COMPLETE 1005
#define IDC_BAD_BLOCK_TEXT 1006
#define IDC_DEVICE_INFO 1007
#define IDC_UPDATE_FIRMWARE 1008
#define IDC_NEW_FIRMWARE 1009
#define IDC_BAD_BLOCK_LEGEND 1010
#define IDC_AGREEMENT_TEXT 1011
#define IDC_MESSAGE_TEXT 1012
#define IDC_CLOSE_BUTTON 1013
#define IDC_PROGRESS 1016
#define IDC_VIEW_LABEL 1018
#define IDC_SCROLL_UP 1019
#define IDC_SCROLL_DOWN 1020
#define IDC_SCROLL_THUMB 1021
#define IDC_MINIMISE_BUTTON 1022
