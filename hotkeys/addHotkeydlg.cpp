#include "hotkeys/addHotkeydlg.h"

#include <cstdlib>
#include <memory>
#include <utility>

#include "actions/actionline_win.h"
#include "app/hotkeyreg.h"
#include "hotkeydlgs_ids.h"
#include "hotkeys/hotkeydlgsupport.h"
#include "include/controldraw.h"
#include "include/controlmath.h"
#include "include/WhiteWnd.h"
#include "language/language.h"
#include "resource.h"

namespace {

constexpr int kRowHeight = 30;
constexpr int kColumnWidth = 415;
constexpr int kIconSize = 16;
// Typing stops where the profile functions still store a value whole (their wide conversion counts
// bytes in 16 bits).
constexpr WPARAM kDescriptionLimit = 32766;

struct ModifierBox {
  int id;
  int32_t HotkeyDefinition::*flag;
};
constexpr ModifierBox kModifierBoxes[] = {
    {IDC_AH_ALT, &HotkeyDefinition::Alt},
    {IDC_AH_CTRL, &HotkeyDefinition::Ctrl},
    {IDC_AH_SHIFT, &HotkeyDefinition::Shift},
    {IDC_AH_WIN, &HotkeyDefinition::Win},
};

}  // namespace

CAddHotkeyDlg::CAddHotkeyDlg(ActionComposer composeAction) : CListDialog(IDD_ADDHOTKEY, std::move(composeAction)) {}


BOOL CAddHotkeyDlg::OnInitDialog() {
  SetBigIcon(IDI_APP);
  TranslateWindow(m_hWnd);
  SetUpControls();
  // The caller may pass a button's text, access key and all.
  ::SetWindowTextA(m_hWnd, lang::StripAccessKey(m_caption).c_str());
  std::string description =
      DescriptionText(m_hotkey.Description, [](const std::string& key) { return GetLanguageText(key); });
  ::SendDlgItemMessageA(m_hWnd, IDC_AH_DESCRIPTION, EM_LIMITTEXT, kDescriptionLimit, 0);
  ::SetDlgItemTextA(m_hWnd, IDC_AH_DESCRIPTION, description.c_str());
  CheckModifiers();
  RefillKeys(true);
  for (const std::string& line : m_hotkey.ActionLines) AppendActionRow(line);
  UpdateButtons();
  return TRUE;
}

void CAddHotkeyDlg::OnDpiChanged() { hkdlg::SetRowIcon(m_actions, IDI_HK_ACTION); }

void CAddHotkeyDlg::SetUpControls() {
  m_picture.SubclassWindow(::GetDlgItem(m_hWnd, IDC_AH_PICTURE));
  m_picture.SetBitmap(IDB_HOTKEY_SIDE);
  // Stretched: the static's pixel size follows the dialog font, the picture's does not.
  m_picture.SetStyle(ctl::BoldStaticStyle::BitmapStretched);
  ::SetWindowTextA(m_picture.hwnd(), "");

  CBoldTextStatic* labels[] = {&m_modifierLabel, &m_keyLabel, &m_actionsLabel, &m_descriptionLabel};
  const int labelIds[] = {IDC_AH_MODIFIER_LABEL, IDC_AH_KEY_LABEL, IDC_AH_ACTIONS_LABEL, IDC_AH_DESCRIPTION_LABEL};
  for (size_t i = 0; i < 4; ++i) {
    labels[i]->SubclassWindow(::GetDlgItem(m_hWnd, labelIds[i]));
    labels[i]->MakeBoldFont();
  }

  m_keys.SubclassWindow(::GetDlgItem(m_hWnd, IDC_AH_KEY));

  m_actions.SubclassWindow(::GetDlgItem(m_hWnd, IDC_AH_ACTIONS));
  m_actions.m_nIconWidth = kIconSize;
  m_actions.m_nIconHeight = kIconSize;
  m_actions.m_dwGridFlags = lm::Grid::Vertical;
  m_actions.SetRowHeight(kRowHeight);
  hkdlg::SetRowIcon(m_actions, IDI_HK_ACTION);
  m_actions.InsertColumn(0, GetLanguageText("L0027"), kColumnWidth);

  hkdlg::SetUpImageButton(m_addAction, m_hWnd, IDC_AH_ADD_ACTION, IDI_HK_ADD, IDI_HK_ADD_HOVER, "L0032");
  hkdlg::SetUpImageButton(m_removeAction, m_hWnd, IDC_AH_REMOVE_ACTION, IDI_HK_REMOVE, IDI_HK_REMOVE_HOVER, "L0033");
  hkdlg::SetUpImageButton(m_up, m_hWnd, IDC_AH_UP, IDI_HK_UP, IDI_HK_UP_HOVER, "L0013");
  hkdlg::SetUpImageButton(m_down, m_hWnd, IDC_AH_DOWN, IDI_HK_DOWN, IDI_HK_DOWN_HOVER, "L0014");
}

BOOL CAddHotkeyDlg::OnEraseBackground(HDC dc) {
  int pictureBottom = ctldraw::RectInParent(::GetDlgItem(m_hWnd, IDC_AH_PICTURE)).bottom;
  // The same bands as the other white dialogs, split at the bottom edge of the side picture.
  PaintWhiteBands(m_hWnd, dc, true, pictureBottom + Scaled(15));
  return TRUE;
}

void CAddHotkeyDlg::CheckModifiers() {
  for (const ModifierBox& box : kModifierBoxes) {
    ::CheckDlgButton(m_hWnd, box.id, (m_hotkey.*box.flag) ? BST_CHECKED : BST_UNCHECKED);
  }
}

bool CAddHotkeyDlg::IsChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED; }

int CAddHotkeyDlg::SelectedKeyCode() const {
  if (::SendMessageA(m_keys.hwnd(), CB_GETCURSEL, 0, 0) < 0) return -1;
  std::string key = m_keys.SelectedKey();
  if (key.empty()) return -1;
  char* end = nullptr;
  long code = std::strtol(key.c_str(), &end, 10);
  return (end && *end == '\0') ? static_cast<int>(code) : -1;
}

void CAddHotkeyDlg::RefillKeys(bool opening) {
  int previous = opening ? -1 : SelectedKeyCode();
  HWND self = m_hWnd;
  std::vector<hklist::OfferedKey> offered = hklist::OfferedKeyList(
      IsChecked(IDC_AH_ALT), IsChecked(IDC_AH_CTRL), IsChecked(IDC_AH_SHIFT), IsChecked(IDC_AH_WIN), m_hotkey,
      [self](int alt, int ctrl, int shift, int win, int vk) {
        return IsHotkeyCombinationTaken(self, alt, ctrl, shift, win, vk);
      });
  int target = opening ? hklist::InitialKeySelection(offered, m_hotkey.vk) : hklist::KeepKeySelection(offered, previous);
  m_keys.ResetContent();
  for (const hklist::OfferedKey& key : offered) m_keys.AddItem(std::to_string(key.code), key.name);
  if (target < 0 || !m_keys.SelectKey(std::to_string(target))) {
    ::SendMessageA(m_keys.hwnd(), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  }
}

void CAddHotkeyDlg::AppendActionRow(const std::string& line) {
  auto handle = m_lines.Add(std::make_unique<std::string>(line));
  int row = m_actions.AddItem(DescribeActionLine(line), 0, static_cast<LPARAM>(handle));
  if (row < 0) m_lines.Release(handle);  // no row took it
}

void CAddHotkeyDlg::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  switch (id) {
    case IDC_AH_ALT:
    case IDC_AH_CTRL:
    case IDC_AH_SHIFT:
    case IDC_AH_WIN:
      RefillKeys(false);
      break;
    case IDC_AH_ADD_ACTION:
      OnAddAction();
      break;
    case IDC_AH_REMOVE_ACTION:
      if (hkdlg::DeleteSelectedRow(m_actions)) UpdateButtons();
      break;
    case IDC_AH_UP:
    case IDC_AH_DOWN:
      if (hkdlg::MoveSelectedRow(m_actions, id == IDC_AH_UP, false)) UpdateButtons();
      break;
    default:
      CDialogBase::OnCommand(id, code);
      break;
  }
}

LRESULT CAddHotkeyDlg::OnNotify(const NMHDR& hdr) {
  if (hdr.idFrom != IDC_AH_ACTIONS) return 0;
  if (hdr.code == static_cast<UINT>(LVN_DELETEITEM)) {
    const auto* row = reinterpret_cast<const NMLISTVIEW*>(&hdr);
    m_lines.Release(static_cast<hklist::RowStore<std::string>::Handle>(row->lParam));
    return 0;
  }
  if (hdr.code == static_cast<UINT>(LVN_ITEMCHANGED)) UpdateButtons();
  // Delete removes the selected line, as the remove button does.
  if (hkdlg::IsDeleteKey(hdr)) OnCommand(IDC_AH_REMOVE_ACTION, BN_CLICKED);
  return 0;
}

void CAddHotkeyDlg::OnAddAction() {
  if (!m_composeAction) return;
  std::string line;
  if (!m_composeAction(m_hWnd, line)) return;
  AppendActionRow(line);
  UpdateButtons();
}

void CAddHotkeyDlg::UpdateButtons() {
  hkdlg::EnableRowButtons(m_hWnd, hklist::RowButtonStates(m_actions.GetSelectedIndex(), m_actions.GetItemCount()), 0,
                          IDC_AH_REMOVE_ACTION, IDC_AH_UP, IDC_AH_DOWN);
  hkdlg::EnableControl(m_hWnd, IDC_AH_ADD_ACTION, true);
}

void CAddHotkeyDlg::OnOK() {
  int code = SelectedKeyCode();
  if (code < 0) {
    ::SetFocus(m_keys.hwnd());
    hkdlg::ShowExclamation(m_hWnd, "L0049");
    return;
  }
  HotkeyDefinition result = m_hotkey;
  result.Description = hkdlg::ControlText(m_hWnd, IDC_AH_DESCRIPTION);
  for (const ModifierBox& box : kModifierBoxes) result.*box.flag = IsChecked(box.id) ? 1 : 0;
  result.vk = code;
  result.Enable = 1;
  result.ActionLines.clear();
  for (int row = 0, n = m_actions.GetItemCount(); row < n; ++row) {
    const std::string* line = m_lines.Get(static_cast<hklist::RowStore<std::string>::Handle>(m_actions.GetItemData(row)));
    if (line) result.ActionLines.push_back(*line);
  }
  m_hotkey = std::move(result);
  ::EndDialog(m_hWnd, IDOK);
}
