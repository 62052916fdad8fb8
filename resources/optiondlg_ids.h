// Options dialog and its general page: templates and controls. The control numbers are fixed;
// language files and earlier versions rely on them.
#pragma once

#define IDD_OPTIONDLG 160
#define IDD_OPT_GENERAL 161

#define IDC_OPT_TABS 1005
#define IDC_OPT_AUTOSTART 1039
#define IDC_OPT_LANGUAGE 1068
#define IDC_OPT_TRANSLATE 1069
// The statics without a number of their own in the template get these, so the page can lay
// them out and tests can find them.
#define IDC_OPT_LANGUAGE_LABEL 1200
#define IDC_OPT_LANGUAGE_MARK 1201
#define IDC_OPT_NOTE 1202

// The icon of the general page's tab.
#define IDI_OPT_GENERAL 202
