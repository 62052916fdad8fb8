// Main window controls beside the status lines (resource.h). The numbers are fixed; language files
// and earlier versions rely on them.
#pragma once

#define IDC_MAIN_UPDATE 1007
#define IDC_VERSION_PRODUCT 1027
#define IDC_VERSION_BUILD 1028
#define IDC_VERSION_INSTALLED 1029
#define IDC_MAIN_MINIMIZE 1052
#define IDC_MAIN_OPTIONS 1070
#define IDC_MAIN_CLOSE 1071
#define IDC_MAIN_VERSION_TEXT 1072
#define IDC_MAIN_ADD_HOTKEY 1074
#define IDC_MAIN_MANAGE_HOTKEYS 1075
#define IDC_VERSION_HEADER 1076
#define IDC_MAIN_SEPARATOR 1077
#define IDC_MAIN_TEXT_SHORTCUTS 1079
#define IDC_MAIN_EXPORT 1080
#define IDC_MAIN_IMPORT 1081
#define IDC_MAIN_COMPANY 1082
