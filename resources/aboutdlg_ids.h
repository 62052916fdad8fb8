// About box: template and controls. The control numbers are fixed; language files rely on them.
#pragma once

#define IDD_ABOUTBOX 190

#define IDC_ABOUT_ICON 1060
#define IDC_ABOUT_PRODUCT 1061
#define IDC_ABOUT_VERSION 1062
#define IDC_ABOUT_LEGAL 1063
#define IDC_ABOUT_THANKS_LABEL 1065
#define IDC_ABOUT_THANKS 1016
#define IDC_ABOUT_LOCATION 1032
// The close button is IDCANCEL (2), so Esc closes the box as well.
