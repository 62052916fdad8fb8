#include "predefinedtext/PredefinedTextSelector.h"

#include <windowsx.h>

#include "include/GlobalData.h"
#include "include/dpi.h"
#include "include/miscfuns.h"
#include "language/language.h"
#include "predefinedtext/clipboard.h"
#include "predefinedtext/textstore.h"

namespace {

// Posted to itself: the paste runs after the tree's double-click handling has finished, since the
// paste ends by destroying the window and with it the tree.
constexpr UINT kMsgInsertChosen = WM_APP + 1;
constexpr int kItemIcon = 231;

// Keeps `rc` (moved to centre on `area`) inside `work`.
RECT CentredIn(const RECT& rc, const RECT& area, const RECT& work) {
  int w = rc.right - rc.left, h = rc.bottom - rc.top;
  int x = area.left + (area.right - area.left - w) / 2;
  int y = area.top + (area.bottom - area.top - h) / 2;
  if (x + w > work.right) x = work.right - w;
  if (y + h > work.bottom) y = work.bottom - h;
  if (x < work.left) x = work.left;
  if (y < work.top) y = work.top;
  return RECT{x, y, x + w, y + h};
}

}  // namespace

void CPredefinedTextSelectorWindow::Open(HWND owner) {
  HWND open = CMiscFuns::FindWindowByClass(kSelectorWindowClass);
  if (open && ::IsWindow(open)) {
    ::SendMessageA(open, kMsgSelectorShow, 0, 0);
    return;
  }
  if (!CMiscFuns::RegisterWindowClassOnce(kSelectorWindowClass, WindowProc)) return;
  std::unique_ptr<CPredefinedTextSelectorWindow> self(new CPredefinedTextSelectorWindow());
  // The window takes the object over at WM_NCCREATE and deletes it at WM_NCDESTROY; should the
  // window never come to exist, `self` still owns it here.
  const int at = dpi::WindowDpi(owner);
  HWND hwnd = ::CreateWindowExA(WS_EX_NOACTIVATE | WS_EX_TOPMOST, kSelectorWindowClass, "",
                                WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, dpi::Scale(750, at), dpi::Scale(480, at), owner,
                                nullptr, CMiscFuns::ModuleInstance(), &self);
  if (hwnd) ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
}

CPredefinedTextSelectorWindow::CPredefinedTextSelectorWindow() {
  m_doc.Load(PredefinedTextPath());
}

CPredefinedTextSelectorWindow::~CPredefinedTextSelectorWindow() {
  if (m_images) ImageList_Destroy(m_images);
}

LRESULT CALLBACK CPredefinedTextSelectorWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* holder = static_cast<std::unique_ptr<CPredefinedTextSelectorWindow>*>(
        reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    CPredefinedTextSelectorWindow* created = holder->release();
    created->m_hWnd = hwnd;
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
  }
  auto* self = reinterpret_cast<CPredefinedTextSelectorWindow*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (msg == WM_NCDESTROY) {
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    std::unique_ptr<CPredefinedTextSelectorWindow> owned(self);
    return ::DefWindowProcA(hwnd, msg, wParam, lParam);
  }
  return self ? self->HandleMessage(msg, wParam, lParam) : ::DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CPredefinedTextSelectorWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE:
      OnCreate();
      return 0;
    case WM_SIZE:
      OnSize(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case kMsgSelectorShow:
      Centre();
      return 0;
    case kMsgInsertChosen:
      InsertChosen();  // destroys the window: nothing may touch `this` afterwards
      return 0;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_DPICHANGED:
      dpi::ApplyDpiChange(m_hWnd, wParam, lParam, m_dpiFonts);
      ScaleChildren();
      return 0;
    case WM_NOTIFYFORMAT:
      // The tree asks when it is made; its notifications then carry Unicode texts.
      return NFR_UNICODE;
    default:
      return ::DefWindowProcA(m_hWnd, msg, wParam, lParam);
  }
}

void CPredefinedTextSelectorWindow::OnCreate() {
  Centre();
  ::SendMessageA(m_hWnd, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(::LoadIconA(CMiscFuns::ModuleInstance(), MAKEINTRESOURCEA(128))));
  ::SetWindowTextA(m_hWnd, GetLanguageText("L0075").c_str());
  // Unicode children: entry names and texts may hold any character, whatever the code page.
  m_tree = ::CreateWindowExW(
      WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
      WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS, 0, 0, 0, 0, m_hWnd,
      reinterpret_cast<HMENU>(kSelectorTreeId), CMiscFuns::ModuleInstance(), nullptr);
  m_preview = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY, 0, 0, 0, 0, m_hWnd,
                                reinterpret_cast<HMENU>(kSelectorPreviewId), CMiscFuns::ModuleInstance(), nullptr);
  ScaleChildren();
  // The tree selects its first item while it is filled, at times before it has any notification to
  // send: the preview shows it once the tree is full, as laying out a long text costs time.
  m_filling = true;
  FillTree(m_tree, m_doc);
  m_filling = false;
  ShowPreview(TreeView_GetSelection(m_tree));
}

void CPredefinedTextSelectorWindow::ScaleChildren() {
  const int at = dpi::WindowDpi(m_hWnd);
  ImageListHandle images = dpi::MakeIconList({kItemIcon}, 16, at);
  TreeView_SetImageList(m_tree, images.get(), TVSIL_NORMAL);
  if (m_images) ImageList_Destroy(m_images);  // the tree holds the new list now
  m_images = images.release();
  TreeView_SetItemHeight(m_tree, dpi::Scale(20, at));
  FontHandle font(CreateEntryTextFont(at));
  ::SendMessageA(m_preview, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  m_font = std::move(font);
  RECT client;
  ::GetClientRect(m_hWnd, &client);
  OnSize(client.right, client.bottom);
}

void CPredefinedTextSelectorWindow::OnSize(int width, int height) {
  const int previewWidth = dpi::Scale(kSelectorPreviewWidth, dpi::WindowDpi(m_hWnd));
  int treeWidth = width > previewWidth ? width - previewWidth : 0;
  ::MoveWindow(m_tree, 0, 0, treeWidth, height, TRUE);
  ::MoveWindow(m_preview, treeWidth, 0, previewWidth, height, TRUE);
}

LRESULT CPredefinedTextSelectorWindow::OnNotify(const NMHDR& hdr) {
  if (hdr.idFrom != kSelectorTreeId) return 0;
  switch (hdr.code) {
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
      OnSelectionChanged(reinterpret_cast<const NMTREEVIEWA&>(hdr));
      break;
    case NM_DBLCLK:
      OnDoubleClick();
      break;
    case TVN_DELETEITEMA:
    case TVN_DELETEITEMW:
      ReleaseTreeItemNode(reinterpret_cast<const NMTREEVIEWA&>(hdr));
      break;
    default:
      break;
  }
  return 0;
}

void CPredefinedTextSelectorWindow::OnSelectionChanged(const NMTREEVIEWA& nm) {
  if (!m_filling) ShowPreview(nm.itemNew.hItem);
}

void CPredefinedTextSelectorWindow::ShowPreview(HTREEITEM item) {
  xml::Node* node = TreeItemNode(m_tree, item);
  if (!node) return;
  SetEntryText(m_preview, ReadEntryValue(m_doc, xml::NodePtr(node)));
}

void CPredefinedTextSelectorWindow::OnDoubleClick() {
  // Where the double-click happened, not where the cursor is by now: a cursor that has moved on
  // (or one the system has not caught up with yet) would pick another entry, or none.
  const DWORD clicked = ::GetMessagePos();
  TVHITTESTINFO hit = {};
  hit.pt = POINT{GET_X_LPARAM(clicked), GET_Y_LPARAM(clicked)};
  ::ScreenToClient(m_tree, &hit.pt);
  HTREEITEM item = TreeView_HitTest(m_tree, &hit);
  if (!item || !(hit.flags & TVHT_ONITEMLABEL)) return;
  xml::Node* node = TreeItemNode(m_tree, item);
  if (!node || m_chosen) return;
  m_chosen = xml::NodePtr(node);
  ::PostMessageA(m_hWnd, kMsgInsertChosen, 0, 0);
}

void CPredefinedTextSelectorWindow::InsertChosen() {
  if (!m_chosen) return;
  std::string text = ReadEntryValue(m_doc, m_chosen);
  HWND hwnd = m_hWnd;
  CLIPBD::InsertText(text, hwnd);
  ::DestroyWindow(hwnd);
}

void CPredefinedTextSelectorWindow::Centre() {
  RECT rc;
  ::GetWindowRect(m_hWnd, &rc);
  HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
  bool overOwner = owner && ::IsWindowVisible(owner) && !::IsIconic(owner);
  MONITORINFO mi = {};
  mi.cbSize = sizeof mi;
  ::GetMonitorInfoA(::MonitorFromWindow(overOwner ? owner : m_hWnd, MONITOR_DEFAULTTONEAREST), &mi);
  RECT area = mi.rcWork;
  if (overOwner) ::GetWindowRect(owner, &area);
  RECT to = CentredIn(rc, area, mi.rcWork);
  ::SetWindowPos(m_hWnd, nullptr, to.left, to.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
