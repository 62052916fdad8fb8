// The manage hotkeys dialog and the hotkey editor: templates, controls, the side picture. The
// numbers are fixed; language files and earlier versions rely on them. Both dialogs reuse some
// control numbers for different controls (each template is its own id space).
#pragma once

#define IDD_MANAGEHOTKEYS 131
#define IDD_ADDHOTKEY 133

#define IDB_HOTKEY_SIDE 211

// Manage hotkeys dialog
#define IDC_MH_HEADER 1023
#define IDC_MH_LIST 1009
#define IDC_MH_ADD 1010
#define IDC_MH_DELETE 1011
#define IDC_MH_EDIT 1012
#define IDC_MH_UP 1015
#define IDC_MH_DOWN 1016

// Hotkey editor
#define IDC_AH_PICTURE 1027
#define IDC_AH_MODIFIER_LABEL 1024
#define IDC_AH_ALT 1017
#define IDC_AH_CTRL 1018
#define IDC_AH_SHIFT 1019
#define IDC_AH_WIN 1020
#define IDC_AH_KEY_LABEL 1025
#define IDC_AH_KEY 1021
#define IDC_AH_ACTIONS_LABEL 1026
#define IDC_AH_ACTIONS 1009
#define IDC_AH_ADD_ACTION 1028
#define IDC_AH_REMOVE_ACTION 1029
#define IDC_AH_UP 1015
#define IDC_AH_DOWN 1022
#define IDC_AH_DESCRIPTION_LABEL 1023
#define IDC_AH_DESCRIPTION 1016

// Icons the two dialogs show (drawn by tools/make-icons.sh, listed in icons.rc).
#define IDI_HK_ROW 201
#define IDI_HK_LIST 203
#define IDI_HK_UNCHECKED 204
#define IDI_HK_CHECKED 205
#define IDI_HK_UP 206
#define IDI_HK_DOWN 207
#define IDI_HK_UP_HOVER 208
#define IDI_HK_DOWN_HOVER 209
#define IDI_HK_ACTION 210
#define IDI_HK_REMOVE_HOVER 212
#define IDI_HK_ADD 213
#define IDI_HK_ADD_HOVER 214
#define IDI_HK_REMOVE 215
#define IDI_HK_HEADER 216
