// Small pieces both hotkey dialogs use.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

namespace hkdlg {

HINSTANCE Instance();
// A 16 x 16 image list holding one icon resource; null when it cannot be made.
HIMAGELIST SingleIconList(UINT iconId);
// The dialog's big icon from an icon resource.
void SetDialogIcon(HWND dialog, UINT iconId);
// The input message of the dialogs: the language text of `key`, the product name as caption.
void ShowExclamation(HWND owner, const std::string& key);
// The same with a text made already (a formatted one).
void ShowExclamationText(HWND owner, const std::string& text);
// A control's whole window text.
std::string ControlText(HWND dialog, int id);
// Enables or disables a control.
void EnableControl(HWND dialog, int id, bool on);

}  // namespace hkdlg
