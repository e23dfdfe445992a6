// brimlet/resources/resource_ids.h
// Numbers of Brimlet's generated resources: the skin pictures, the icon, the string tables and
// the carried files. Plain #defines: the resource compiler reads this too.
#pragma once

// Icon (16 x 16 and 32 x 32).
#define IDI_BRIMLET 128

// Window backgrounds, keyed on pure green.
#define IDB_REPAIR_BACKGROUND 168
#define IDB_LICENCE_BACKGROUND 162
#define IDB_MESSAGE_SUCCESS 164
#define IDB_MESSAGE_ERROR 165

// Splash frames, in the order they are shown: Traditional Chinese, and English (also used for
// Simplified Chinese).
#define IDB_SPLASH_CHT_1 156
#define IDB_SPLASH_CHT_2 157
#define IDB_SPLASH_CHT_3 158
#define IDB_SPLASH_CHT_4 160
#define IDB_SPLASH_ENG_1 180
#define IDB_SPLASH_ENG_2 181
#define IDB_SPLASH_ENG_3 182
#define IDB_SPLASH_ENG_4 183

// Face of the text buttons (captions are drawn over it), keyed on pure green.
#define IDB_TEXT_BUTTON 163

// Small buttons, keyed on RGB(75, 100, 112).
#define IDB_CLOSE 166
#define IDB_CLOSE_HOVER 167
#define IDB_MINIMISE 178
#define IDB_MINIMISE_HOVER 179
#define IDB_SCROLL_UP 175
#define IDB_SCROLL_DOWN 174

// Progress channel and the part left of the position; each keyed on its pixel (0, 0).
#define IDB_PROGRESS_CHANNEL 169
#define IDB_PROGRESS_ACTIVE 170

// Slider thumb and a small bullet picture (both kept hidden).
#define IDB_SLIDER_THUMB 176
#define IDB_BULLET 129

// Strings (English, Traditional Chinese and Simplified Chinese tables).
#define IDS_UPDATE 1
#define IDS_CLOSE 2
#define IDS_NEED_ADMINISTRATOR 4
#define IDS_BAD_BLOCKS 5
#define IDS_FAST 6
#define IDS_COMPLETE 7
#define IDS_REPAIR_OPTION 8
#define IDS_DEVICE_INFORMATION 9
#define IDS_REPAIR_COMPLETE 11
#define IDS_REPAIR_FAIL 12
#define IDS_DEVICE_NOT_FOUND 13
#define IDS_DEVICE_NOT_SUPPORTED 16
#define IDS_WINDOWS_NOT_SUPPORTED 17

// Carried files, resource type "BINARYFILE", written beside the program at start-up.
#define IDR_REZO_DLL 151
#define IDR_BOOTCODE 152
#define IDR_DEVICE_INI 153
#define IDR_DEFT63_ESP 154
#define IDR_AGREEMENT_CHS 171
#define IDR_AGREEMENT_CHT 172
#define IDR_AGREEMENT_ENG 173
