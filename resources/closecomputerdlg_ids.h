// Shutdown dialog: template, controls and icons. The numbers are fixed; language files and earlier
// versions rely on them.
#pragma once

#define IDD_CLOSECOMPUTER 144

#define IDC_CC_HEADING 1023
#define IDC_CC_SHUTDOWN 1044
#define IDC_CC_UPTIME 1045
#define IDC_CC_RESTART 1046
#define IDC_CC_SLEEP 1047
#define IDC_CC_HIBERNATE 1048
#define IDC_CC_LOGOFF 1049
// The close button is IDCANCEL (2), so Esc and the button end the dialog the same way.

#define IDI_CC_HIBERNATE 234
#define IDI_CC_LOGOFF 235
#define IDI_CC_RESTART 236
#define IDI_CC_SHUTDOWN 237
#define IDI_CC_SLEEP 238
#define IDI_CC_CLOSE 239
