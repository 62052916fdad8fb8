#include "include/OwnerDrawnListView.h"

#include "include/dpi.h"

#include <cstring>
#include <vector>

namespace {
// The object that holds a list; separate from the subclassing's own link, which knows nothing of
// list views.
const char kListProp[] = "Quorvel.ListView";

bool IsListView(HWND hwnd) {
  char cls[64] = {};
  ::GetClassNameA(hwnd, cls, sizeof(cls));
  return ::lstrcmpiA(cls, WC_LISTVIEWA) == 0;
}
}  // namespace

CListViewWindow::~CListViewWindow() { Detach(); }

CListViewWindow* CListViewWindow::FromHandle(HWND hwnd) {
  if (!hwnd || !::IsWindow(hwnd)) return nullptr;
  return static_cast<CListViewWindow*>(::GetPropA(hwnd, kListProp));
}

bool CListViewWindow::HandleParentMessage(HWND parent, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  HWND target = nullptr;
  switch (msg) {
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (!dis || dis->CtlType != ODT_LISTVIEW) return false;
      target = dis->hwndItem;
      break;
    }
    case WM_MEASUREITEM: {
      // The request names the control only by its id.
      auto* mis = reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
      if (!mis || mis->CtlType != ODT_LISTVIEW || !parent) return false;
      target = ::GetDlgItem(parent, static_cast<int>(mis->CtlID));
      break;
    }
    case WM_NOTIFY: {
      auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
      if (!hdr) return false;
      target = hdr->hwndFrom;
      break;
    }
    default:
      return false;
  }
  CListViewWindow* list = FromHandle(target);
  if (!list || list->hwnd() != target) return false;
  return list->OnReflectedMessage(msg, wParam, lParam, result);
}

bool CListViewWindow::AttachList(HWND list) {
  if (!list || !::IsWindow(list) || !IsListView(list) || ::GetPropA(list, kListProp)) return false;
  if (!Attach(list)) return false;
  if (!::SetPropA(list, kListProp, this)) {
    Detach();
    return false;
  }
  m_linked = list;
  return true;
}

void CListViewWindow::OnDetached() {
  if (m_linked && ::IsWindow(m_linked) && ::GetPropA(m_linked, kListProp) == this) ::RemovePropA(m_linked, kListProp);
  m_linked = nullptr;
}

void CListViewWindow::Remeasure() {
  // The list view asks for its row height when its position changes; a change of size by one pixel
  // and back is the one every version answers.
  HWND list = hwnd();
  if (!list) return;
  RECT rc;
  ::GetWindowRect(list, &rc);
  const int w = rc.right - rc.left, h = rc.bottom - rc.top;
  const UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
  ::SetWindowPos(list, nullptr, 0, 0, w, h + 1, flags);
  ::SetWindowPos(list, nullptr, 0, 0, w, h, flags);
}

int CListViewWindow::GetItemCount() const { return static_cast<int>(Send(LVM_GETITEMCOUNT)); }

HWND CListViewWindow::GetHeader() const { return reinterpret_cast<HWND>(Send(LVM_GETHEADER)); }

int CListViewWindow::GetColumnCount() const {
  HWND header = GetHeader();
  return header ? static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

int CListViewWindow::InsertColumn(int index, const std::string& heading, int width, int format) {
  LVCOLUMNA col = {};
  col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
  col.fmt = format;
  // Widths are figures at 96 dpi, scaled as the dialog around the list is.
  m_columnsDpi = dpi::WindowDpi(hwnd());
  col.cx = dpi::ScaledAsDialog(hwnd(), width);
  col.iSubItem = index;
  std::string text = heading;
  col.pszText = &text[0];
  return static_cast<int>(Send(LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&col)));
}

void CListViewWindow::RescaleColumns() {
  const int now = dpi::WindowDpi(hwnd());
  if (!m_columnsDpi || now == m_columnsDpi) return;
  for (int c = 0, n = GetColumnCount(); c < n; ++c)
    Send(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(c), MAKELPARAM(dpi::Rescale(GetColumnWidth(c), m_columnsDpi, now), 0));
  m_columnsDpi = now;
}

int CListViewWindow::GetColumnFormat(int column) const {
  LVCOLUMNA col = {};
  col.mask = LVCF_FMT;
  if (!Send(LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&col))) return LVCFMT_LEFT;
  return col.fmt;
}

int CListViewWindow::GetColumnWidth(int column) const {
  return static_cast<int>(Send(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column)));
}

int CListViewWindow::InsertItem(int index, const std::string& text, int image, LPARAM data) {
  LVITEMA item = {};
  item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
  item.iItem = index;
  std::string copy = text;
  item.pszText = &copy[0];
  item.iImage = image;
  item.lParam = data;
  return static_cast<int>(Send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

bool CListViewWindow::SetItemText(int item, int subItem, const std::string& text) {
  LVITEMA lvi = {};
  lvi.iSubItem = subItem;
  std::string copy = text;
  lvi.pszText = &copy[0];
  return Send(LVM_SETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lvi)) != 0;
}

std::string CListViewWindow::GetItemText(int item, int subItem) const {
  if (item < 0 || item >= GetItemCount()) return std::string();
  // The list copies at most the buffer less its terminator; a full buffer may mean more is there.
  for (size_t size = 256;; size *= 2) {
    std::vector<char> buffer(size, '\0');
    LVITEMA lvi = {};
    lvi.iSubItem = subItem;
    lvi.pszText = buffer.data();
    lvi.cchTextMax = static_cast<int>(size);
    LRESULT got = Send(LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lvi));
    if (got < 0) got = 0;
    if (static_cast<size_t>(got) < size - 1 || size >= (1u << 24))
      return std::string(buffer.data(), ::strnlen(buffer.data(), size));
  }
}

LPARAM CListViewWindow::GetItemData(int item) const {
  LVITEMA lvi = {};
  lvi.mask = LVIF_PARAM;
  lvi.iItem = item;
  if (!Send(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&lvi))) return 0;
  return lvi.lParam;
}

bool CListViewWindow::SetItemData(int item, LPARAM data) {
  LVITEMA lvi = {};
  lvi.mask = LVIF_PARAM;
  lvi.iItem = item;
  lvi.lParam = data;
  return Send(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&lvi)) != 0;
}

int CListViewWindow::GetItemImage(int item) const {
  LVITEMA lvi = {};
  lvi.mask = LVIF_IMAGE;
  lvi.iItem = item;
  if (!Send(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&lvi))) return I_IMAGENONE;
  return lvi.iImage;
}

UINT CListViewWindow::GetItemState(int item, UINT mask) const {
  return static_cast<UINT>(Send(LVM_GETITEMSTATE, static_cast<WPARAM>(item), static_cast<LPARAM>(mask)));
}

bool CListViewWindow::SetItemState(int item, UINT state, UINT mask) {
  LVITEMA lvi = {};
  lvi.stateMask = mask;
  lvi.state = state;
  return Send(LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lvi)) != 0;
}

bool CListViewWindow::GetCheckState(int item) const { return (GetItemState(item, LVIS_STATEIMAGEMASK) >> 12) == 2; }

bool CListViewWindow::SetCheckState(int item, bool checked) {
  if (item < 0 || item >= GetItemCount()) return false;
  return SetItemState(item, INDEXTOSTATEIMAGEMASK(checked ? 2 : 1), LVIS_STATEIMAGEMASK);
}

int CListViewWindow::GetSelectedIndex() const {
  return static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
}

bool CListViewWindow::SelectItem(int item) {
  // -1 as the item applies the state to every item.
  SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  if (item < 0) return true;
  if (item >= GetItemCount()) return false;
  bool ok = SetItemState(item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  Send(LVM_ENSUREVISIBLE, static_cast<WPARAM>(item), FALSE);
  return ok;
}

bool CListViewWindow::DeleteItem(int item) { return Send(LVM_DELETEITEM, static_cast<WPARAM>(item)) != 0; }

bool CListViewWindow::DeleteAllItems() { return Send(LVM_DELETEALLITEMS) != 0; }

DWORD CListViewWindow::GetExtendedStyle() const { return static_cast<DWORD>(Send(LVM_GETEXTENDEDLISTVIEWSTYLE)); }

void CListViewWindow::SetExtendedStyle(DWORD mask, DWORD style) { Send(LVM_SETEXTENDEDLISTVIEWSTYLE, mask, style); }

HIMAGELIST CListViewWindow::SetImageList(HIMAGELIST images, int which) {
  return reinterpret_cast<HIMAGELIST>(
      Send(LVM_SETIMAGELIST, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(images)));
}

HIMAGELIST CListViewWindow::GetImageList(int which) const {
  return reinterpret_cast<HIMAGELIST>(Send(LVM_GETIMAGELIST, static_cast<WPARAM>(which)));
}
