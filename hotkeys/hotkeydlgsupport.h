// Small pieces both hotkey dialogs use.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "include/IconButton.h"

namespace hkdlg {

// A 16 x 16 image list holding one icon resource; null when it cannot be made.
HIMAGELIST SingleIconList(UINT iconId);
// The input message of the dialogs: the language text of `key`, the product name as caption.
void ShowExclamation(HWND owner, const std::string& key);
// A control's whole window text.
std::string ControlText(HWND dialog, int id);
// Makes control `id` of `dialog` a 16 x 16 icon button with a hover icon and a tooltip, the icon
// in its middle.
void SetUpImageButton(CIconButton& button, HWND dialog, int id, UINT icon, UINT hoverIcon, const char* tooltipKey);
// Enables or disables a control.
void EnableControl(HWND dialog, int id, bool on);

}  // namespace hkdlg
