#include "predefinedtext/opt_textshortcuts.h"

#include <algorithm>
#include <utility>

#include "include/codepage_win.h"
#include "include/miscfuns.h"
#include "include/WhiteWnd.h"
#include "language/language.h"
#include "predefinedtext/textedit.h"
#include "predefinedtext/textstore.h"
#include "textshortcuts_ids.h"

namespace {

constexpr UINT kMsgShowDamagedNotice = WM_APP + 1;
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr int kButtonIconSize = 16;
constexpr int kTreeItemHeight = 20;
constexpr int kHeaderIconSize = 32;
// The in-place name editor of a tree view returns at most this many characters on every system.
constexpr int kMaxNameLength = 259;

// In the order of CTextShortcutsDlg::m_buttons.
constexpr IconControl kButtons[] = {
    {IDC_TS_ADD, IDI_TS_ADD, "L0070"},         {IDC_TS_DELETE, IDI_TS_DELETE, "L0071"},
    {IDC_TS_RENAME, IDI_TS_RENAME, "L0072"},   {IDC_TS_MOVEUP, IDI_TS_MOVEUP, "L0013"},
    {IDC_TS_MOVEDOWN, IDI_TS_MOVEDOWN, "L0014"}, {IDC_TS_CLEARTEXT, IDI_TS_CLEARTEXT, "L0073"},
    {IDC_TS_SELECTTEXT, IDI_TS_SELECTTEXT, "L0074"},
};

std::string ProductName() { return CMiscFuns::GetOwnVersionString("ProductName"); }

// Counts the program's own writes into the text box for their lifetime.
class SettingText {
 public:
  explicit SettingText(int& depth) : depth_(depth) { ++depth_; }
  SettingText(const SettingText&) = delete;
  SettingText& operator=(const SettingText&) = delete;
  ~SettingText() { --depth_; }

 private:
  int& depth_;
};

bool HasFile(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The folder a file goes into, made when it is not there (the program folder itself always is).
bool MakeFolderFor(const std::string& path) {
  const size_t slash = path.find_last_of('\\');
  if (slash == std::string::npos) return true;
  const std::string folder = path.substr(0, slash);
  return CMiscFuns::IsFolderExist(folder) || ::CreateDirectoryA(folder.c_str(), nullptr);
}

// Moves a point that lies on no monitor into the work area of the nearest one.
POINT OntoMonitor(POINT pt) {
  if (::MonitorFromPoint(pt, MONITOR_DEFAULTTONULL)) return pt;
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (!::GetMonitorInfoA(::MonitorFromPoint(pt, MONITOR_DEFAULTTONEAREST), &info)) return pt;
  pt.x = std::clamp(pt.x, info.rcWork.left, std::max(info.rcWork.left, info.rcWork.right - 1));
  pt.y = std::clamp(pt.y, info.rcWork.top, std::max(info.rcWork.top, info.rcWork.bottom - 1));
  return pt;
}

}  // namespace

CTextShortcutsDlg::CTextShortcutsDlg() : CTextShortcutsDlg(PredefinedTextPath()) {}

CTextShortcutsDlg::CTextShortcutsDlg(std::string fileName)
    : CDialogBase(IDD_TEXTSHORTCUTS, DialogText::Unicode),
      m_fileName(std::move(fileName)),
      m_brush(::CreateSolidBrush(kWhite)) {
  bool loaded = m_doc.Load(m_fileName);
  if (loaded && textedit::ConfigElement(m_doc)) {
    m_state = StoreState::Ready;
  } else if (loaded || HasFile(m_fileName)) {
    m_state = StoreState::Damaged;
  } else {
    // No texts yet: the user's first entries make the file.
    textedit::StartNewStore(m_doc, m_fileName);
    m_state = StoreState::Missing;
  }
}

CTextShortcutsDlg::~CTextShortcutsDlg() {
  // The tree's items, and with them their element references, go with the window.
  Destroy();
  if (m_images) ImageList_Destroy(m_images);
}

INT_PTR CTextShortcutsDlg::DoModal(HWND owner) {
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_TREEVIEW_CLASSES};
  ::InitCommonControlsEx(&icc);
  return CDialogBase::DoModal(owner);
}

INT_PTR CTextShortcutsDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SIZE:
      OnSize();
      return TRUE;
    case WM_GETMINMAXINFO:
      OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
      return TRUE;
    case kMsgShowDamagedNotice:
      ShowDamagedNotice();
      return TRUE;
    case WM_NCDESTROY:
      m_tree = nullptr;
      return FALSE;
    default:
      return CDialogBase::HandleMessage(msg, wParam, lParam);
  }
}

BOOL CTextShortcutsDlg::OnInitDialog() {
  CentreWindow(m_hWnd, Centring::OnWorkArea);
  SetBigIcon(IDI_TS_DIALOG);
  TranslateWindow(m_hWnd);
  RecordLayout();

  HWND box = ::GetDlgItem(m_hWnd, IDC_TS_TEXT);
  SetEditFont();
  ::SendMessageA(box, EM_SETLIMITTEXT, textedit::kMaxBoxText, 0);
  ::SendMessageA(box, EM_SETREADONLY, TRUE, 0);  // until an entry is shown

  SetUpButtons();
  SetUpHeader();
  SetUpTree();
  // The tree selects its first entry while it is filled, before its text box is ready for it: the
  // box shows it once the tree is full (laying out a long text twice would cost time).
  m_filling = true;
  FillTree(m_tree, m_doc);
  m_filling = false;
  ShowText(TreeView_GetSelection(m_tree));
  if (m_state == StoreState::Damaged) ::PostMessageA(m_hWnd, kMsgShowDamagedNotice, 0, 0);
  ::SetFocus(m_tree);
  return FALSE;
}

void CTextShortcutsDlg::SetUpHeader() {
  m_header.SubclassWindow(::GetDlgItem(m_hWnd, IDC_TS_HEADER));
  m_header.SetStyle(ctl::BoldStaticStyle::IconLeft);
  m_header.SetIcon(IDI_TS_HEADER, kHeaderIconSize, kHeaderIconSize);
  m_header.SetIconMargins(2, 2);
  m_header.SetTextInsets(5, 7);
  m_header.MakeBoldFont();
}

void CTextShortcutsDlg::SetUpButtons() {
  for (size_t i = 0; i < sizeof kButtons / sizeof kButtons[0]; ++i) {
    const IconControl& spec = kButtons[i];
    CIconButton& button = m_buttons[i];
    HWND control = ::GetDlgItem(m_hWnd, spec.id);
    button.SubclassWindow(control);
    button.SetCaption("");
    button.SetIcon(spec.icon, kButtonIconSize, kButtonIconSize);
    RECT rc = {};
    ::GetClientRect(control, &rc);
    // The default offset is meant for wide buttons; these are barely larger than their icons.
    button.m_nIconOffset = std::max(0, (dpi::Rescale(rc.right, Dpi(), dpi::kBaseDpi) - kButtonIconSize) / 2);
    button.SetTooltipText(GetLanguageText(spec.textKey));
  }
}

void CTextShortcutsDlg::SetUpTree() {
  m_tree = ::GetDlgItem(m_hWnd, IDC_TS_TREE);
  ScaleTree();
}

void CTextShortcutsDlg::ScaleTree() {
  ImageListHandle images = dpi::MakeIconList({IDI_TS_ITEM}, 16, Dpi());
  TreeView_SetImageList(m_tree, images.get(), TVSIL_NORMAL);
  if (m_images) ImageList_Destroy(m_images);  // the tree holds the new list now
  m_images = images.release();
  TreeView_SetItemHeight(m_tree, Scaled(kTreeItemHeight));
}

void CTextShortcutsDlg::SetEditFont() {
  FontHandle font(CreateEntryTextFont(Dpi()));
  ::SendDlgItemMessageA(m_hWnd, IDC_TS_TEXT, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  m_editFont = std::move(font);
}

void CTextShortcutsDlg::OnDpiChanged() {
  SetEditFont();
  ScaleTree();
  // The controls and the window are at the new dpi by now: so are the places they grow from.
  const int now = Dpi();
  auto rescale = [this, now](LONG v) { return static_cast<LONG>(dpi::Rescale(v, m_layoutDpi, now)); };
  for (Anchored& a : m_layout) {
    dpi::Box b = dpi::RescaleBox({a.initial.left, a.initial.top, a.initial.right, a.initial.bottom}, m_layoutDpi, now);
    a.initial = RECT{b.left, b.top, b.right, b.bottom};
  }
  m_initialClient = {rescale(m_initialClient.cx), rescale(m_initialClient.cy)};
  m_minTrack = {rescale(m_minTrack.cx), rescale(m_minTrack.cy)};
  m_layoutDpi = now;
  OnSize();
}

void CTextShortcutsDlg::RecordLayout() {
  RECT client = {};
  ::GetClientRect(m_hWnd, &client);
  m_initialClient = {client.right, client.bottom};
  m_layoutDpi = Dpi();
  RECT window = {};
  ::GetWindowRect(m_hWnd, &window);
  m_minTrack = {window.right - window.left, window.bottom - window.top};
  struct Rule {
    int id;
    bool moveX, moveY, growX, growY;
  };
  const Rule rules[] = {
      {IDC_TS_HEADER, false, false, true, false}, {IDC_TS_TREE, false, false, false, true},
      {IDC_TS_TEXT, false, false, true, true},    {IDC_TS_SAVE, true, true, false, false},
      {IDOK, true, true, false, false},           {IDCANCEL, true, true, false, false},
  };
  m_layout.clear();
  for (const Rule& r : rules) {
    RECT rc = {};
    HWND control = ::GetDlgItem(m_hWnd, r.id);
    ::GetWindowRect(control, &rc);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
    m_layout.push_back({r.id, rc, r.moveX, r.moveY, r.growX, r.growY});
  }
}

void CTextShortcutsDlg::OnSize() {
  if (m_layout.empty()) return;  // the first size comes before the dialog is initialised
  RECT client = {};
  ::GetClientRect(m_hWnd, &client);
  int dx = std::max(0L, client.right - m_initialClient.cx);
  int dy = std::max(0L, client.bottom - m_initialClient.cy);
  for (const Anchored& a : m_layout) {
    RECT rc = a.initial;
    if (a.moveX) ::OffsetRect(&rc, dx, 0);
    if (a.moveY) ::OffsetRect(&rc, 0, dy);
    if (a.growX) rc.right += dx;
    if (a.growY) rc.bottom += dy;
    ::SetWindowPos(::GetDlgItem(m_hWnd, a.id), nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // The grey band behind the buttons follows the OK button.
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CTextShortcutsDlg::OnGetMinMaxInfo(MINMAXINFO& info) const {
  if (m_minTrack.cx > 0) info.ptMinTrackSize = {m_minTrack.cx, m_minTrack.cy};
}

BOOL CTextShortcutsDlg::OnEraseBackground(HDC dc) {
  PaintWhiteDialogBackground(m_hWnd, dc);
  return TRUE;
}

HBRUSH CTextShortcutsDlg::OnControlColour(UINT msg, HDC dc) {
  if (msg == WM_CTLCOLORBTN) return nullptr;
  ::SetBkColor(dc, kWhite);
  return m_brush.get();
}

void CTextShortcutsDlg::ShowDamagedNotice() {
  // The notice belongs over the (empty) editor, not in front of a dialog that is not shown yet.
  if (!::IsWindowVisible(m_hWnd)) {
    ::ShowWindow(m_hWnd, SW_SHOW);
    ::UpdateWindow(m_hWnd);
  }
  std::string text = FormatLanguageText("L0197", {lang::FormatArg::Str(m_fileName)});
  ::MessageBoxA(m_hWnd, text.c_str(), ProductName().c_str(), MB_OK | MB_ICONEXCLAMATION);
}

void CTextShortcutsDlg::OnCommand(int id, int code) {
  if (id == IDC_TS_TEXT) {
    if (code == EN_CHANGE && m_settingText == 0) StoreBoxText();
    return;
  }
  if (code != BN_CLICKED) return;
  switch (id) {
    case IDOK:
      OnOk();
      break;
    case IDCANCEL:
      OnCancel();
      break;
    case IDC_TS_SAVE:
      SaveAndReport();
      break;
    case IDC_TS_ADD: {
      RECT rc = {};
      ::GetWindowRect(::GetDlgItem(m_hWnd, IDC_TS_ADD), &rc);
      ShowAddMenu(TreeView_GetSelection(m_tree), POINT{rc.left, rc.bottom});
      break;
    }
    case IDC_TS_DELETE:
      DeleteSelected();
      break;
    case IDC_TS_RENAME:
      RenameSelected();
      break;
    case IDC_TS_MOVEUP:
      MoveSelected(true);
      break;
    case IDC_TS_MOVEDOWN:
      MoveSelected(false);
      break;
    case IDC_TS_CLEARTEXT:
      ClearText();
      break;
    case IDC_TS_SELECTTEXT:
      SelectText();
      break;
    default:
      break;
  }
}

LRESULT CTextShortcutsDlg::OnNotify(const NMHDR& hdr) {
  if (hdr.hwndFrom != m_tree || !m_tree) return 0;
  switch (hdr.code) {
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
      if (!m_filling) ShowText(reinterpret_cast<const NMTREEVIEWA&>(hdr).itemNew.hItem);
      return 0;
    case TVN_DELETEITEMA:
    case TVN_DELETEITEMW:
      ReleaseTreeItemNode(reinterpret_cast<const NMTREEVIEWA&>(hdr));
      return 0;
    case TVN_BEGINLABELEDITA:
    case TVN_BEGINLABELEDITW:
      return OnBeginLabelEdit() ? FALSE : TRUE;
    case TVN_ENDLABELEDITW: {
      // The dialog is Unicode, so its tree tells it the W way; a null text is a cancelled edit.
      const auto& info = reinterpret_cast<const NMTVDISPINFOW&>(hdr);
      if (info.item.pszText) OnEndLabelEdit(info.item.hItem, unicode::Utf8FromWide(info.item.pszText));
      return FALSE;
    }
    case TVN_KEYDOWN: {
      // F2 and Delete do what the rename and delete buttons do, once the tree is done with the key.
      const WORD key = reinterpret_cast<const NMTVKEYDOWN&>(hdr).wVKey;
      const int button = key == VK_F2 ? IDC_TS_RENAME : key == VK_DELETE ? IDC_TS_DELETE : 0;
      if (button) ::PostMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
      return button != 0;
    }
    case NM_RCLICK: {
      POINT screen = {};
      ::GetCursorPos(&screen);
      TVHITTESTINFO hit = {};
      hit.pt = screen;
      ::ScreenToClient(m_tree, &hit.pt);
      HTREEITEM item = TreeView_HitTest(m_tree, &hit);
      if (!(hit.flags & TVHT_ONITEM)) item = nullptr;
      ShowAddMenu(item, screen);
      return TRUE;  // no further context menu
    }
    default:
      return 0;
  }
}

xml::NodePtr CTextShortcutsDlg::ElementOf(HTREEITEM item) const {
  if (!item || item == TVI_ROOT) return textedit::ConfigElement(m_doc);
  return xml::NodePtr(TreeItemNode(m_tree, item));
}

xml::NodePtr CTextShortcutsDlg::ParentElementOf(HTREEITEM item) const {
  return ElementOf(item ? TreeView_GetParent(m_tree, item) : nullptr);
}

void CTextShortcutsDlg::SetBoxText(const std::string& text) {
  HWND box = ::GetDlgItem(m_hWnd, IDC_TS_TEXT);
  // A stored text longer than the usual limit is shown whole, so an edit cannot cut its end off.
  // The limit counts UTF-16 units, never more than the text's bytes.
  ::SendMessageA(box, EM_SETLIMITTEXT, std::max(textedit::kMaxBoxText, text.size()), 0);
  SettingText guard(m_settingText);
  SetEntryText(box, text);
}

std::string CTextShortcutsDlg::BoxText() const { return EntryTextOf(::GetDlgItem(m_hWnd, IDC_TS_TEXT)); }

void CTextShortcutsDlg::ShowText(HTREEITEM item) {
  HWND box = ::GetDlgItem(m_hWnd, IDC_TS_TEXT);
  xml::NodePtr element = item ? xml::NodePtr(TreeItemNode(m_tree, item)) : xml::NodePtr();
  if (!element) {
    // Nothing to show or to type into: whatever was typed here would belong to no entry.
    if (!item) {
      SetBoxText("");
      ::SendMessageA(box, EM_SETREADONLY, TRUE, 0);
    }
    return;
  }
  SetBoxText(ReadEntryValue(m_doc, element));
  ::SendMessageA(box, EM_SETREADONLY, FALSE, 0);
}

void CTextShortcutsDlg::StoreBoxText() {
  xml::NodePtr element(TreeItemNode(m_tree, TreeView_GetSelection(m_tree)));
  if (!element) return;
  if (textedit::StoreText(m_doc, element, BoxText())) m_modified = true;
}

bool CTextShortcutsDlg::OnBeginLabelEdit() {
  if (HWND editor = TreeView_GetEditControl(m_tree)) ::SendMessageA(editor, EM_SETLIMITTEXT, kMaxNameLength, 0);
  return true;
}

void CTextShortcutsDlg::OnEndLabelEdit(HTREEITEM item, const std::string& name) {
  if (!item) return;
  xml::NodePtr element(TreeItemNode(m_tree, item));
  if (!element) return;
  // Ending the edit without a change keeps the stored name, which may be a language key.
  if (name == ReadEntryName(m_doc, element)) return;
  if (!textedit::StoreName(m_doc, element, name)) return;
  m_modified = true;
  SetTreeItemText(m_tree, item, name);
}

void CTextShortcutsDlg::ShowAddMenu(HTREEITEM reference, POINT screen) {
  MenuHandle menu(::CreatePopupMenu());
  if (!menu) return;
  std::string child = GetLanguageText("L0065"), sibling = GetLanguageText("L0066");
  ::AppendMenuA(menu.get(), MF_STRING, ID_TS_ADD_CHILD, child.c_str());
  ::AppendMenuA(menu.get(), MF_STRING, ID_TS_ADD_SIBLING, sibling.c_str());
  screen = OntoMonitor(screen);
  int chosen = static_cast<int>(::TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON,
                                                 screen.x, screen.y, 0, m_hWnd, nullptr));
  if (chosen == ID_TS_ADD_CHILD || chosen == ID_TS_ADD_SIBLING) AddEntry(reference, chosen == ID_TS_ADD_CHILD);
}

void CTextShortcutsDlg::AddEntry(HTREEITEM reference, bool asChild) {
  HTREEITEM underItem = TVI_ROOT;
  if (reference) {
    if (asChild) {
      underItem = reference;
    } else if (HTREEITEM parent = TreeView_GetParent(m_tree, reference)) {
      underItem = parent;
    }
  }
  xml::NodePtr underElement = ElementOf(underItem);
  if (!underElement) return;  // no store to add to
  const std::string name = unicode::Utf8FromAnsi(GetLanguageText("L0067"));
  xml::NodePtr added = textedit::AddEntry(m_doc, underElement, name);
  if (!added) return;
  m_modified = true;
  HTREEITEM item = InsertTreeItem(m_tree, underItem, name, added);
  if (!item) return;
  if (underItem != TVI_ROOT) TreeView_Expand(m_tree, underItem, TVE_EXPAND);
  TreeView_SelectItem(m_tree, item);
  ::SetFocus(m_tree);
  TreeView_EditLabel(m_tree, item);
}

void CTextShortcutsDlg::DeleteSelected() {
  HTREEITEM item = TreeView_GetSelection(m_tree);
  if (!item) return;
  xml::NodePtr element(TreeItemNode(m_tree, item));
  // The question names the entry as the tree shows it, every character of it.
  std::wstring question = unicode::WideFromUtf8(
      FormatLanguageTextUtf8("L0064", {lang::FormatArg::Str(ReadEntryName(m_doc, element))}));
  if (::MessageBoxW(m_hWnd, question.c_str(), unicode::WideFromAnsi(ProductName()).c_str(),
                    MB_OKCANCEL | MB_ICONQUESTION) != IDOK) {
    return;
  }
  if (!element) return;
  if (!textedit::RemoveEntry(m_doc, ParentElementOf(item), element)) return;
  m_modified = true;
  TreeView_DeleteItem(m_tree, item);
  if (!TreeView_GetRoot(m_tree)) ShowText(nullptr);
}

void CTextShortcutsDlg::RenameSelected() {
  HTREEITEM item = TreeView_GetSelection(m_tree);
  if (!item) return;
  ::SetFocus(m_tree);
  TreeView_EditLabel(m_tree, item);
}

void CTextShortcutsDlg::RefillChildren(HTREEITEM item, const xml::NodePtr& element) {
  while (HTREEITEM child = TreeView_GetChild(m_tree, item)) TreeView_DeleteItem(m_tree, child);
  FillTreeBranch(m_tree, m_doc, element, item);
  ExpandBranch(m_tree, item);
  SetTreeItemText(m_tree, item, ReadEntryName(m_doc, element));
}

void CTextShortcutsDlg::MoveSelected(bool up) {
  HTREEITEM selected = TreeView_GetSelection(m_tree);
  if (!selected) return;
  HTREEITEM neighbour = up ? TreeView_GetPrevSibling(m_tree, selected) : TreeView_GetNextSibling(m_tree, selected);
  if (!neighbour) return;
  xml::NodePtr selectedElement(TreeItemNode(m_tree, selected)), neighbourElement(TreeItemNode(m_tree, neighbour));
  xml::NodePtr selectedNow, neighbourNow;
  if (!textedit::SwapEntries(ParentElementOf(selected), selectedElement, neighbourElement, selectedNow, neighbourNow))
    return;
  m_modified = true;
  // The items stay; their contents change places.
  SetTreeItemNode(m_tree, selected, selectedNow);
  SetTreeItemNode(m_tree, neighbour, neighbourNow);
  RefillChildren(selected, selectedNow);
  RefillChildren(neighbour, neighbourNow);
  TreeView_SelectItem(m_tree, neighbour);
  ShowText(neighbour);
}

void CTextShortcutsDlg::ClearText() {
  HWND box = ::GetDlgItem(m_hWnd, IDC_TS_TEXT);
  ::SetFocus(box);
  SetBoxText("");
  StoreBoxText();
}

void CTextShortcutsDlg::SelectText() {
  HWND box = ::GetDlgItem(m_hWnd, IDC_TS_TEXT);
  ::SetFocus(box);
  ::SendMessageA(box, EM_SETSEL, 0, -1);
}

bool CTextShortcutsDlg::IsEditingLabel() const {
  HWND editor = m_tree ? TreeView_GetEditControl(m_tree) : nullptr;
  return editor && ::GetFocus() == editor;
}

void CTextShortcutsDlg::OnOk() {
  if (IsEditingLabel()) {
    ::SendMessageA(TreeView_GetEditControl(m_tree), WM_KEYDOWN, VK_RETURN, 0);
    // Should the editor not take the key, the edit still ends here and keeps what was typed.
    if (TreeView_GetEditControl(m_tree)) TreeView_EndEditLabelNow(m_tree, FALSE);
    return;
  }
  if (SaveAndReport() == SaveOutcome::Failed) return;
  ::EndDialog(m_hWnd, IDOK);
}

void CTextShortcutsDlg::OnCancel() {
  if (IsEditingLabel()) {
    ::SendMessageA(TreeView_GetEditControl(m_tree), WM_KEYDOWN, VK_ESCAPE, 0);
    if (TreeView_GetEditControl(m_tree)) TreeView_EndEditLabelNow(m_tree, TRUE);
    return;
  }
  ::EndDialog(m_hWnd, IDCANCEL);
}

CTextShortcutsDlg::SaveOutcome CTextShortcutsDlg::SaveStore() {
  // Unchanged contents are not written again: opening and browsing leave the file as it is, and so
  // does a file that another program replaced meanwhile.
  if (!m_modified || m_state == StoreState::Damaged) return SaveOutcome::NothingToSave;
  // A document the reader would refuse next time would show as an empty store: keep the old file.
  if (!textedit::FitsLoadLimits(*m_doc.m_pDoc)) return SaveOutcome::Failed;
  // The first texts of a program folder without any may need their folder as well.
  if (m_state == StoreState::Missing && !MakeFolderFor(m_fileName)) return SaveOutcome::Failed;
  if (m_doc.Save() != XML_S_OK) return SaveOutcome::Failed;
  m_state = StoreState::Ready;
  m_modified = false;
  return SaveOutcome::Saved;
}

CTextShortcutsDlg::SaveOutcome CTextShortcutsDlg::SaveAndReport() {
  SaveOutcome outcome = SaveStore();
  if (outcome == SaveOutcome::Failed) {
    std::string text = FormatLanguageText("L0196", {lang::FormatArg::Str(m_fileName)});
    ::MessageBoxA(m_hWnd, text.c_str(), ProductName().c_str(), MB_OK | MB_ICONEXCLAMATION);
  }
  return outcome;
}

INT_PTR ShowTextShortcutsDialog(HWND owner) {
  CTextShortcutsDlg dlg;
  INT_PTR result = dlg.DoModal(owner);
  return result == IDOK ? IDOK : IDCANCEL;
}
