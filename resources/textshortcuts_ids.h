// Text shortcuts editor: template, controls and icons. The numbers are fixed; language files and
// earlier versions rely on them.
#pragma once

#define IDD_TEXTSHORTCUTS 142

// OK (1) and Cancel (2) are the usual ones.
#define IDC_TS_SAVE 3
#define IDC_TS_MOVEUP 1015
#define IDC_TS_TEXT 1016
#define IDC_TS_MOVEDOWN 1017
#define IDC_TS_HEADER 1023
#define IDC_TS_TREE 1040
#define IDC_TS_ADD 1043
#define IDC_TS_DELETE 1044
#define IDC_TS_RENAME 1045
#define IDC_TS_CLEARTEXT 1046
#define IDC_TS_SELECTTEXT 1047

#define IDI_TS_MOVEUP 206
#define IDI_TS_MOVEDOWN 207
#define IDI_TS_ADD 213
#define IDI_TS_DELETE 215
#define IDI_TS_HEADER 216
#define IDI_TS_DIALOG 225
#define IDI_TS_ITEM 231
#define IDI_TS_RENAME 232
#define IDI_TS_CLEARTEXT 233
#define IDI_TS_SELECTTEXT 232

// Entries of the add menu.
#define ID_TS_ADD_CHILD 1
#define ID_TS_ADD_SIBLING 2
