// Small pieces both hotkey dialogs use.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>

#include "hotkeys/hotkeylistlogic.h"
#include "include/DialogBase.h"
#include "include/IcoListView.h"
#include "include/IconButton.h"

// Composes one new action line over `owner`; true (and `line` filled) when the user confirmed it.
using ActionComposer = std::function<bool(HWND owner, std::string& line)>;

namespace hkdlg {

// What both hotkey dialogs share: white controls, an icon list view that gets its parent's
// messages back, and the composer of action lines they hand on to the hotkey editor.
class CListDialog : public CDialogBase {
 protected:
  CListDialog(UINT templateId, ActionComposer composeAction);
  INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  // The white dialog background with the grey band behind OK and Cancel.
  BOOL OnEraseBackground(HDC dc) override;
  HBRUSH OnControlColour(UINT msg, HDC dc) override;

  ActionComposer m_composeAction;
};

// Gives the list's rows one icon resource, 16 x 16 at 96 dpi scaled to the list's dpi; again after
// a change of dpi.
void SetRowIcon(CIcoListView& list, UINT iconId);
// The input message of the dialogs: the language text of `key`, the product name as caption.
void ShowExclamation(HWND owner, const std::string& key);
// The same with a text made already (a formatted one).
void ShowExclamationText(HWND owner, const std::string& text);
// A control's whole window text.
std::string ControlText(HWND dialog, int id);
// Makes control `id` of `dialog` a 16 x 16 icon button with a hover icon and a tooltip, the icon
// in its middle.
void SetUpImageButton(CIconButton& button, HWND dialog, int id, UINT icon, UINT hoverIcon, const char* tooltipKey);
// Whether a list's notification is the Delete key pressed in it.
bool IsDeleteKey(const NMHDR& hdr);
// Removes the selected row and selects the one that takes its place; false without a selection.
bool DeleteSelectedRow(CIcoListView& list);
// Swaps the selected row (the texts of its columns, its data and, `withCheckBoxes`, its check box)
// with the neighbour above or below and selects it there, in view; false when it cannot move.
bool MoveSelectedRow(CIcoListView& list, bool up, bool withCheckBoxes);
// Enables the row commands (control ids; 0 for a command the dialog does not have) as `b` says.
void EnableRowButtons(HWND dialog, const hklist::RowButtons& b, int editId, int removeId, int upId, int downId);
// Enables or disables a control.
void EnableControl(HWND dialog, int id, bool on);

}  // namespace hkdlg
