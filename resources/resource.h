// Resource and control ids. Numbers that other windows or earlier files rely on stay fixed.
#pragma once

#define IDI_APP 128
#define IDI_TRAY 201

#define IDD_MAINDLG 100

// Main window controls
#define IDC_STATUS_HEADER 1073
#define IDC_STATUS_TOTAL 1023
#define IDC_STATUS_REGISTERED 1024
#define IDC_STATUS_FAILED 1025
#define IDC_STATUS_DISABLED 1026

// Tray menu and main window commands
#define ID_CMD_EXIT 1
#define ID_CMD_OPTIONS 2
#define ID_CMD_ADD_HOTKEY 3
#define ID_CMD_MANAGE_HOTKEYS 4
#define ID_CMD_TEXT_SHORTCUTS 5
#define ID_CMD_OPEN_ALL_TRAYS 6
#define ID_CMD_CLOSE_ALL_TRAYS 7
#define ID_CMD_SHUTDOWN_DIALOG 8
#define ID_CMD_EXPORT 9
#define ID_CMD_IMPORT 10
#define ID_CMD_ABOUT 13
#define ID_CMD_SUPPORT 14
#define ID_CMD_OPEN_TRAY_FIRST 9000
#define ID_CMD_CLOSE_TRAY_FIRST 9100

#define IDT_TRAY_RETRY 999
#define IDT_FIRST_RUN_SHOW 1
