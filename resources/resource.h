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
