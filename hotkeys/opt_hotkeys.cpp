#include "hotkeys/opt_hotkeys.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "actions/actionline_win.h"
#include "hotkeydlgs_ids.h"
#include "hotkeys/hotkeydlgsupport.h"
#include "language/language.h"

namespace {

constexpr int kRowHeight = 30;
constexpr int kIconSize = 16;
constexpr int kHeaderIconSize = 32;

struct Column {
  const char* headingKey;
  int width;
};
constexpr Column kColumns[] = {{"L0011", 170}, {"L0029", 160}, {"L0012", 170}};

std::string LanguageText(const std::string& key) { return GetLanguageText(key); }

}  // namespace

CManageHotkeysDlg::CManageHotkeysDlg(ActionComposer composeAction)
    : CListDialog(IDD_MANAGEHOTKEYS, std::move(composeAction)) {}


BOOL CManageHotkeysDlg::OnInitDialog() {
  SetBigIcon(IDI_HK_LIST);
  TranslateWindow(m_hWnd);
  SetUpControls();
  LoadList();
  UpdateButtons();
  if (m_addMode) {
    // The user never sees the list unless the new hotkey could not be saved.
    if (!OnAdd()) {
      ::EndDialog(m_hWnd, IDCANCEL);
    } else if (Save()) {
      ::EndDialog(m_hWnd, IDOK);
    }
  }
  return TRUE;
}

void CManageHotkeysDlg::OnDpiChanged() { hkdlg::SetRowIcon(m_list, IDI_HK_ROW); }

void CManageHotkeysDlg::SetUpControls() {
  m_header.SubclassWindow(::GetDlgItem(m_hWnd, IDC_MH_HEADER));
  m_header.MakeBoldFont();
  m_header.SetStyle(ctl::BoldStaticStyle::IconLeft);
  m_header.SetIcon(IDI_HK_HEADER, kHeaderIconSize, kHeaderIconSize);
  m_header.SetIconMargins(2, 8);

  m_list.SubclassWindow(::GetDlgItem(m_hWnd, IDC_MH_LIST));
  m_list.SetCheckBoxes(true);
  m_list.SetEnterOpensRow(true);
  m_list.m_nIconWidth = kIconSize;
  m_list.m_nIconHeight = kIconSize;
  m_list.m_dwGridFlags = lm::Grid::Vertical;
  m_list.SetRowHeight(kRowHeight);
  m_list.SetCheckBoxIcons(IDI_HK_UNCHECKED, IDI_HK_CHECKED);
  hkdlg::SetRowIcon(m_list, IDI_HK_ROW);
  for (int i = 0; i < 3; ++i) m_list.InsertColumn(i, GetLanguageText(kColumns[i].headingKey), kColumns[i].width);

  hkdlg::SetUpImageButton(m_up, m_hWnd, IDC_MH_UP, IDI_HK_UP, IDI_HK_UP_HOVER, "L0013");
  hkdlg::SetUpImageButton(m_down, m_hWnd, IDC_MH_DOWN, IDI_HK_DOWN, IDI_HK_DOWN_HOVER, "L0014");
}

void CManageHotkeysDlg::LoadList() {
  std::vector<_HotkeyItem> items;
  ListHotkeyFiles(items, m_folder.empty() ? HotkeysFolder() : m_folder);
  for (const _HotkeyItem& item : items) {
    auto record = std::make_unique<HotkeyDefinition>(ReadHotkeyFile(item.path));
    bool enabled = record->Enable != 0;
    AppendRow(std::move(record), enabled);
  }
}

int CManageHotkeysDlg::AppendRow(std::unique_ptr<HotkeyDefinition> record, bool checked) {
  if (!record) return -1;
  const HotkeyDefinition& kept = *record;
  Handle handle = m_records.Add(std::move(record));
  int row = m_list.AddItem(FormatHotkeyText(kept), 0, static_cast<LPARAM>(handle));
  if (row < 0) {
    m_records.Release(handle);
    return -1;
  }
  FillRow(row, kept);
  m_list.SetCheckState(row, checked);
  return row;
}

void CManageHotkeysDlg::FillRow(int row, const HotkeyDefinition& record) {
  m_list.SetItemText(row, 0, FormatHotkeyText(record));
  m_list.SetItemText(row, 1, DescriptionText(record.Description, LanguageText));
  m_list.SetItemText(row, 2, hklist::ActionSummary(record.ActionLines, [](const std::string& line) {
                       return DescribeActionLine(line);
                     }));
}

HotkeyDefinition* CManageHotkeysDlg::RecordOf(int row) const {
  if (row < 0 || row >= m_list.GetItemCount()) return nullptr;
  return m_records.Get(static_cast<Handle>(m_list.GetItemData(row)));
}

void CManageHotkeysDlg::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  if (id == IDC_MH_ADD) {
    OnAdd();
  } else if (id == IDC_MH_EDIT) {
    OnEdit();
  } else if (id == IDC_MH_DELETE) {
    if (hkdlg::DeleteSelectedRow(m_list)) UpdateButtons();
  } else if (id == IDC_MH_UP || id == IDC_MH_DOWN) {
    if (hkdlg::MoveSelectedRow(m_list, id == IDC_MH_UP, true)) UpdateButtons();
  } else {
    CDialogBase::OnCommand(id, code);
  }
}

LRESULT CManageHotkeysDlg::OnNotify(const NMHDR& hdr) {
  if (hdr.idFrom != IDC_MH_LIST) return 0;
  // The keys do what the buttons do: Enter edits the row, Delete deletes it.
  if (hkdlg::IsDeleteKey(hdr)) {
    OnCommand(IDC_MH_DELETE, BN_CLICKED);
    return 0;
  }
  switch (hdr.code) {
    case LVN_DELETEITEM:
      m_records.Release(static_cast<Handle>(reinterpret_cast<const NMLISTVIEW*>(&hdr)->lParam));
      return 0;
    case LVN_ITEMCHANGED:
      UpdateButtons();
      return 0;
    case NM_DBLCLK:
    case NM_RETURN:
      OnEdit();
      return 0;
    default:
      return 0;
  }
}

bool CManageHotkeysDlg::OnAdd() {
  auto record = std::make_unique<HotkeyDefinition>();
  record->Win = 1;
  record->vk = -1;
  record->Description = hklist::ProposedDescription(GetLanguageText("L0028"), m_list.GetItemCount() + 1);
  CAddHotkeyDlg editor(m_composeAction);
  editor.SetCaption(GetLanguageText("L0018"));
  editor.SetHotkey(*record);
  if (editor.DoModal(m_hWnd) != IDOK) return false;
  *record = editor.Hotkey();
  int row = AppendRow(std::move(record), true);
  if (row < 0) return false;
  m_list.SelectItem(row);
  ::SendMessageA(m_list.hwnd(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
  UpdateButtons();
  return true;
}

void CManageHotkeysDlg::OnEdit() {
  int row = m_list.GetSelectedIndex();
  if (!RecordOf(row)) return;
  const LPARAM handle = m_list.GetItemData(row);
  CAddHotkeyDlg editor(m_composeAction);
  editor.SetCaption(GetLanguageText("L0010"));
  editor.SetHotkey(*RecordOf(row));
  if (editor.DoModal(m_hWnd) != IDOK) return;
  // The editor ran a message loop: find the row again by its record rather than trusting `row`.
  LVFINDINFOA find = {};
  find.flags = LVFI_PARAM;
  find.lParam = handle;
  row = static_cast<int>(::SendMessageA(m_list.hwnd(), LVM_FINDITEMA, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(&find)));
  HotkeyDefinition* record = RecordOf(row);
  if (!record) return;
  *record = editor.Hotkey();
  FillRow(row, *record);
}

void CManageHotkeysDlg::UpdateButtons() {
  hkdlg::EnableRowButtons(m_hWnd, hklist::RowButtonStates(m_list.GetSelectedIndex(), m_list.GetItemCount()),
                          IDC_MH_EDIT, IDC_MH_DELETE, IDC_MH_UP, IDC_MH_DOWN);
}

bool CManageHotkeysDlg::Save() {
  std::vector<HotkeyDefinition> hotkeys;
  const int rows = m_list.GetItemCount();
  for (int row = 0; row < rows; ++row) {
    const HotkeyDefinition* record = RecordOf(row);
    if (!record) continue;
    hotkeys.push_back(*record);
    hotkeys.back().Enable = m_list.GetCheckState(row) ? 1 : 0;
  }
  std::string kept;
  if (!WriteAllHotkeyFiles(hotkeys, m_folder.empty() ? HotkeysFolder() : m_folder, m_write, m_move, &kept)) {
    // The list keeps every change, so the user can try again. The old files are back as they
    // were, or else the user learns where those that could not be put back are kept.
    if (kept.empty()) {
      hkdlg::ShowExclamation(m_hWnd, "L0195");
    } else {
      hkdlg::ShowExclamationText(m_hWnd, FormatLanguageText("L0200", {lang::FormatArg::Str(kept)}));
    }
    return false;
  }
  for (int row = 0; row < rows; ++row) {
    if (HotkeyDefinition* record = RecordOf(row)) record->Enable = m_list.GetCheckState(row) ? 1 : 0;
  }
  return true;
}

void CManageHotkeysDlg::OnOK() {
  if (Save()) ::EndDialog(m_hWnd, IDOK);
}

INT_PTR ShowManageHotkeysDialog(HWND owner, bool addMode, const ActionComposer& composeAction) {
  CManageHotkeysDlg dlg(composeAction);
  dlg.SetAddMode(addMode);
  return dlg.DoModal(owner) == IDOK ? IDOK : IDCANCEL;
}
