#include "hotkeys/hotkeydlgsupport.h"

#include <algorithm>
#include <utility>

#include "app/maindlg.h"
#include "hotkeys/hotkeylistlogic.h"
#include "include/controldraw.h"
#include "include/dpi.h"
#include "include/IcoListView.h"
#include "include/WhiteWnd.h"
#include "include/handles.h"
#include "include/miscfuns.h"
#include "language/language.h"

namespace hkdlg {

void SetRowIcon(CIcoListView& list, UINT iconId) {
  // The list destroys the image list it holds when it goes; the one it held before is ours.
  ImageListHandle old(list.SetImageList(dpi::MakeIconList({iconId}, 16, dpi::WindowDpi(list.hwnd())).release(),
                                        LVSIL_SMALL));
}

void SetUpImageButton(CIconButton& button, HWND dialog, int id, UINT icon, UINT hoverIcon, const char* tooltipKey) {
  constexpr int kIconSize = 16;
  HWND control = ::GetDlgItem(dialog, id);
  button.SubclassWindow(control);
  button.SetCaption("");  // the icon says it; the tooltip names it
  button.SetIcon(icon, kIconSize, kIconSize);
  button.SetHoverIcon(hoverIcon);
  RECT rc = {};
  ::GetClientRect(control, &rc);
  // The button's figures are at 96 dpi, its client width at the dialog's.
  button.m_nIconOffset = (dpi::Rescale(rc.right, dpi::WindowDpi(control), dpi::kBaseDpi) - kIconSize) / 2;
  button.SetTooltipText(GetLanguageText(tooltipKey));
}

CListDialog::CListDialog(UINT templateId, ActionComposer composeAction)
    : CDialogBase(templateId), m_composeAction(std::move(composeAction)) {}

INT_PTR CListDialog::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  // The list view's owner-draw, measure and notify requests come back to it.
  LRESULT reflected = 0;
  if (!CIcoListView::HandleParentMessage(m_hWnd, msg, wParam, lParam, reflected)) {
    return CDialogBase::HandleMessage(msg, wParam, lParam);
  }
  ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, reflected);
  return TRUE;
}

BOOL CListDialog::OnEraseBackground(HDC dc) {
  PaintWhiteDialogBackground(m_hWnd, dc);
  return TRUE;
}

HBRUSH CListDialog::OnControlColour(UINT msg, HDC /*dc*/) {
  return msg == WM_CTLCOLORBTN ? nullptr : static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
}

bool IsDeleteKey(const NMHDR& hdr) {
  return hdr.code == static_cast<UINT>(LVN_KEYDOWN) && reinterpret_cast<const NMLVKEYDOWN&>(hdr).wVKey == VK_DELETE;
}

bool DeleteSelectedRow(CIcoListView& list) {
  int selected = list.GetSelectedIndex();
  if (selected < 0) return false;
  list.DeleteItem(selected);
  list.SelectItem(hklist::SelectionAfterDelete(selected, list.GetItemCount()));
  return true;
}

bool MoveSelectedRow(CIcoListView& list, bool up, bool withCheckBoxes) {
  constexpr int kMaxSwappedColumns = 100;
  int row = list.GetSelectedIndex();
  int target = hklist::MoveTarget(row, list.GetItemCount(), up);
  if (target < 0) return false;
  int columns = std::min(list.GetColumnCount(), kMaxSwappedColumns);
  for (int c = 0; c < columns; ++c) {
    std::string a = list.GetItemText(row, c), b = list.GetItemText(target, c);
    list.SetItemText(row, c, b);
    list.SetItemText(target, c, a);
  }
  LPARAM dataA = list.GetItemData(row), dataB = list.GetItemData(target);
  list.SetItemData(row, dataB);
  list.SetItemData(target, dataA);
  if (withCheckBoxes) {
    bool checkA = list.GetCheckState(row), checkB = list.GetCheckState(target);
    list.SetCheckState(row, checkB);
    list.SetCheckState(target, checkA);
  }
  list.SelectItem(target);
  ::SendMessageA(list.hwnd(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(target), FALSE);
  return true;
}

void EnableRowButtons(HWND dialog, const hklist::RowButtons& b, int editId, int removeId, int upId, int downId) {
  const std::pair<int, bool> states[] = {{editId, b.edit}, {removeId, b.remove}, {upId, b.up}, {downId, b.down}};
  for (const auto& [id, on] : states) {
    if (id) EnableControl(dialog, id, on);
  }
}

void ShowExclamation(HWND owner, const std::string& key) { ShowExclamationText(owner, GetLanguageText(key)); }

void ShowExclamationText(HWND owner, const std::string& text) {
  ::MessageBoxA(owner, text.c_str(), ProductCaption().c_str(), MB_ICONEXCLAMATION);
}

std::string ControlText(HWND dialog, int id) { return ctldraw::WindowText(::GetDlgItem(dialog, id)); }

void EnableControl(HWND dialog, int id, bool on) { ::EnableWindow(::GetDlgItem(dialog, id), on ? TRUE : FALSE); }

}  // namespace hkdlg
