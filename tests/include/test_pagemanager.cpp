#include <doctest/doctest.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "include/PageManager.h"
#include "include/TabCtrlPageManager.h"
#include "include/handles.h"
#include "tests/support/capture.h"

namespace {

// An empty dialog template in memory: no menu, default class, no title, no controls.
std::vector<WORD> EmptyTemplate(DWORD style, short cx, short cy) {
  std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD) + 3, 0);
  auto* t = reinterpret_cast<DLGTEMPLATE*>(words.data());
  t->style = style;
  t->cx = cx;
  t->cy = cy;
  return words;
}

// A page: a modeless child dialog that records the page messages it gets.
class TestPage {
 public:
  explicit TestPage(HWND parent) {
    std::vector<WORD> tpl = EmptyTemplate(WS_CHILD, 40, 30);
    m_window.reset(::CreateDialogIndirectParamA(::GetModuleHandleA(nullptr),
                                                reinterpret_cast<DLGTEMPLATE*>(tpl.data()), parent, Proc,
                                                reinterpret_cast<LPARAM>(this)));
  }
  HWND hwnd() const { return m_window.get(); }
  // The page's own visibility; the host stays hidden, so IsWindowVisible would always say no.
  bool visible() const { return (::GetWindowLongPtrA(hwnd(), GWL_STYLE) & WS_VISIBLE) != 0; }
  // Position and size in the parent's client coordinates.
  RECT placement() const {
    RECT rc = {};
    ::GetWindowRect(hwnd(), &rc);
    ::MapWindowPoints(nullptr, ::GetParent(hwnd()), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
  }
  std::vector<UINT> messages;

 private:
  static INT_PTR CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, lParam);
    auto* self = reinterpret_cast<TestPage*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self && (msg == kMsgPageShown || msg == kMsgPageHidden)) {
      CHECK(wParam == 0);
      CHECK(lParam == 0);
      self->messages.push_back(msg);
    }
    return FALSE;
  }
  WindowHandle m_window;
};

// The owner: a dialog that hands its tab control's notifications back to it.
class TestHost {
 public:
  TestHost() {
    // Hidden: the managers do not care, and hiding a shown top-level window is slow under Wine.
    std::vector<WORD> tpl = EmptyTemplate(WS_POPUP, 300, 200);
    m_window.reset(::CreateDialogIndirectParamA(::GetModuleHandleA(nullptr),
                                                reinterpret_cast<DLGTEMPLATE*>(tpl.data()), nullptr, Proc, 0));
  }
  HWND hwnd() const { return m_window.get(); }
  HWND AddControl(const char* cls, DWORD style, int x, int y, int w, int h) {
    return ::CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, x, y, w, h, hwnd(), nullptr,
                             ::GetModuleHandleA(nullptr), nullptr);
  }

 private:
  static INT_PTR CALLBACK Proc(HWND hwnd, UINT msg, WPARAM, LPARAM lParam) {
    if (msg == WM_NOTIFY) {
      ::SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, CTabCtrlPageManager::ReflectNotify(reinterpret_cast<NMHDR*>(lParam)));
      return TRUE;
    }
    return msg == WM_INITDIALOG;
  }
  WindowHandle m_window;
};

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

RECT ClientOf(HWND hwnd) {
  RECT rc = {};
  ::GetClientRect(hwnd, &rc);
  return rc;
}

void InitTabControls() {
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_TAB_CLASSES};
  ::InitCommonControlsEx(&icc);
}

const std::vector<UINT> kShown = {kMsgPageShown};
const std::vector<UINT> kHidden = {kMsgPageHidden};
const std::vector<UINT> kNone = {};

// A frame with three pages on it, none selected yet.
struct FrameFixture {
  TestHost host;
  HWND frame = host.AddControl("STATIC", 0, 10, 20, 200, 120);
  CPageManager manager;
  std::vector<std::unique_ptr<TestPage>> pages;
  FrameFixture() {
    REQUIRE(manager.SubclassWindow(frame));
    for (int i = 0; i < 3; ++i) {
      pages.push_back(std::make_unique<TestPage>(frame));
      manager.AddPage(pages.back()->hwnd());
    }
  }
  void ClearMessages() {
    for (auto& p : pages) p->messages.clear();
  }
};

}  // namespace

TEST_CASE("page manager: the first selection hides nothing and tells only the new page") {
  FrameFixture f;
  CHECK(f.manager.GetCurSel() == -1);
  CHECK(f.manager.GetPageCount() == 3);
  CHECK(f.manager.SelectPage(1));
  CHECK(f.manager.GetCurSel() == 1);
  CHECK(f.pages[0]->messages == kNone);
  CHECK(f.pages[1]->messages == kShown);
  CHECK(f.pages[2]->messages == kNone);
  CHECK(f.pages[1]->visible());
  CHECK_FALSE(f.pages[0]->visible());
  CHECK_FALSE(f.pages[2]->visible());
  // The page covers the frame's whole client area.
  CHECK(SameRect(f.pages[1]->placement(), ClientOf(f.frame)));
}

TEST_CASE("page manager: switching hides and tells the old page, then shows and tells the new one") {
  FrameFixture f;
  f.manager.SelectPage(0);
  f.ClearMessages();
  CHECK(::SendMessageA(f.frame, kMsgPageSelect, 2, 0) == 0);
  CHECK(f.manager.GetCurSel() == 2);
  CHECK(f.pages[0]->messages == kHidden);
  CHECK(f.pages[2]->messages == kShown);
  CHECK(f.pages[1]->messages == kNone);
  CHECK_FALSE(f.pages[0]->visible());
  CHECK(f.pages[2]->visible());
}

TEST_CASE("page manager: selecting the current page again sends nothing and moves nothing") {
  FrameFixture f;
  f.manager.SelectPage(0);
  f.ClearMessages();
  ::MoveWindow(f.pages[0]->hwnd(), 3, 4, 50, 60, FALSE);
  CHECK(f.manager.SelectPage(0));
  ::SendMessageA(f.frame, kMsgPageSelect, 0, 0);
  CHECK(f.pages[0]->messages == kNone);
  RECT moved = {3, 4, 53, 64};
  CHECK(SameRect(f.pages[0]->placement(), moved));
}

TEST_CASE("page manager: indexes without a page are refused and change nothing") {
  FrameFixture f;
  // Nothing selected yet: a bad index must not select anything either.
  CHECK_FALSE(f.manager.SelectPage(3));
  CHECK_FALSE(f.manager.SelectPage(-1));
  CHECK(f.manager.GetCurSel() == -1);

  f.manager.SelectPage(1);
  f.ClearMessages();
  CHECK_FALSE(f.manager.SelectPage(-1));
  CHECK_FALSE(f.manager.SelectPage(3));
  CHECK_FALSE(f.manager.SelectPage(1000000));
  CHECK(::SendMessageA(f.frame, kMsgPageSelect, 3, 0) == 0);
  CHECK(::SendMessageA(f.frame, kMsgPageSelect, static_cast<WPARAM>(-1), 0) == 0);
  CHECK(::SendMessageA(f.frame, kMsgPageSelect, static_cast<WPARAM>(0x100000000ULL), 0) == 0);
  CHECK(f.manager.GetCurSel() == 1);
  for (auto& p : f.pages) CHECK(p->messages == kNone);
  CHECK(f.pages[1]->visible());
}

TEST_CASE("page manager: asking for a page by index gives it, or null outside the list") {
  FrameFixture f;
  for (int i = 0; i < 3; ++i) {
    CHECK(reinterpret_cast<HWND>(::SendMessageA(f.frame, kMsgPageGet, static_cast<WPARAM>(i), 0)) ==
          f.pages[static_cast<size_t>(i)]->hwnd());
    CHECK(f.manager.GetPage(i) == f.pages[static_cast<size_t>(i)]->hwnd());
  }
  CHECK(::SendMessageA(f.frame, kMsgPageGet, 3, 0) == 0);
  CHECK(::SendMessageA(f.frame, kMsgPageGet, static_cast<WPARAM>(-1), 0) == 0);
  CHECK(f.manager.GetPage(3) == nullptr);
  CHECK(f.manager.GetPage(-1) == nullptr);

  TestHost host;
  HWND empty = host.AddControl("STATIC", 0, 0, 0, 50, 50);
  CPageManager none;
  REQUIRE(none.SubclassWindow(empty));
  CHECK(::SendMessageA(empty, kMsgPageGet, 0, 0) == 0);
  CHECK(::SendMessageA(empty, kMsgPageSelect, 0, 0) == 0);
  CHECK_FALSE(none.SelectPage(0));
}

TEST_CASE("page manager: resizing moves only the visible page; a hidden one catches up when selected") {
  FrameFixture f;
  f.manager.SelectPage(0);
  RECT before = f.pages[1]->placement();
  ::SetWindowPos(f.frame, nullptr, 0, 0, 260, 150, SWP_NOMOVE | SWP_NOZORDER);
  RECT client = ClientOf(f.frame);
  CHECK(client.right == 260);
  CHECK(SameRect(f.pages[0]->placement(), client));
  CHECK(SameRect(f.pages[1]->placement(), before));
  f.manager.SelectPage(1);
  CHECK(SameRect(f.pages[1]->placement(), client));
}

TEST_CASE("page manager: the frame paints no background of its own") {
  // A frame whose own class would fill it red: whatever shows must come from the pages.
  static const char kRedFrame[] = "QuorvelTestRedFrame";
  static BrushHandle red(::CreateSolidBrush(RGB(255, 0, 0)));
  WNDCLASSA wc = {};
  wc.lpfnWndProc = &DefWindowProcA;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.hbrBackground = red.get();
  wc.lpszClassName = kRedFrame;
  ::RegisterClassA(&wc);
  TestHost host;
  HWND frame = host.AddControl(kRedFrame, 0, 10, 20, 200, 120);
  CPageManager manager;
  REQUIRE(manager.SubclassWindow(frame));
  LRESULT answer = 0;
  Pixels px = PaintWith(frame, [&](HDC dc) {
    answer = ::SendMessageA(frame, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  });
  CHECK(answer != 0);
  CHECK(px.Count(RGB(1, 2, 3)) == px.width * px.height);
}

TEST_CASE("page manager: attaching twice or to nothing fails; a frame destroyed first is let go") {
  TestHost host;
  HWND frame = host.AddControl("STATIC", 0, 0, 0, 50, 50);
  CPageManager manager;
  CHECK_FALSE(manager.SubclassWindow(nullptr));
  CHECK(manager.SubclassWindow(frame));
  CHECK_FALSE(manager.SubclassWindow(frame));
  ::DestroyWindow(frame);
  CHECK(manager.hwnd() == nullptr);
}

// ---- tab control -------------------------------------------------------------------------------

namespace {

struct TabFixture {
  TestHost host;
  HWND tab;
  CTabCtrlPageManager manager;
  std::vector<std::unique_ptr<TestPage>> pages;
  explicit TabFixture(int count, DWORD style = 0, int width = 280, int height = 180) {
    InitTabControls();
    tab = host.AddControl(WC_TABCONTROLA, WS_CLIPSIBLINGS | style, 5, 5, width, height);
    REQUIRE(manager.SubclassWindow(tab));
    for (int i = 0; i < count; ++i) {
      pages.push_back(std::make_unique<TestPage>(tab));
      ::ShowWindow(pages.back()->hwnd(), SW_SHOW);  // the manager must hide it
      std::string title = "Page number " + std::to_string(i + 1);
      CHECK(manager.AddPage(i, title, pages.back()->hwnd(), -1) == i);
    }
  }
  // Where a page of this tab control belongs, by the rows and height of the tabs.
  RECT ExpectedPlacement() const {
    RECT rc = ClientOf(tab);
    int rowsHeight = 0;
    if (::SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0) > 0) {
      int rows = static_cast<int>(::SendMessageA(tab, TCM_GETROWCOUNT, 0, 0));
      CHECK(rows >= 1);
      CHECK(TabHeight() > 0);
      rowsHeight = rows * TabHeight();
    }
    return RECT{rc.left + 5, rc.top + 5 + rowsHeight, rc.right - 5, rc.bottom - 5};
  }
  // Height of a tab: the first one's, or the current one's while the first is scrolled out of view.
  int TabHeight() const {
    RECT item = {};
    if (::SendMessageA(tab, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item))) return item.bottom - item.top;
    WPARAM current = static_cast<WPARAM>(::SendMessageA(tab, TCM_GETCURSEL, 0, 0));
    if (::SendMessageA(tab, TCM_GETITEMRECT, current, reinterpret_cast<LPARAM>(&item))) return item.bottom - item.top;
    return 0;
  }
  HWND PageOfTab(WPARAM index) const {
    return reinterpret_cast<HWND>(::SendMessageA(tab, kMsgTabGetPage, index, 0));
  }
};

}  // namespace

TEST_CASE("tab pages: adding hides the page, makes it a control parent and stores it in the tab") {
  TabFixture f(3);
  CHECK(f.manager.GetTabCount() == 3);
  for (size_t i = 0; i < 3; ++i) {
    CHECK_FALSE(f.pages[i]->visible());
    CHECK((::GetWindowLongPtrA(f.pages[i]->hwnd(), GWL_EXSTYLE) & WS_EX_CONTROLPARENT) != 0);
    CHECK(f.PageOfTab(i) == f.pages[i]->hwnd());
  }
  char text[64] = {};
  TCITEMA item = {};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  ::SendMessageA(f.tab, TCM_GETITEMA, 1, reinterpret_cast<LPARAM>(&item));
  CHECK(std::string(text) == "Page number 2");
  // Inserting in front moves the others along.
  TestPage front(f.tab);
  CHECK(f.manager.AddPage(0, "First", front.hwnd()) == 0);
  CHECK(f.PageOfTab(0) == front.hwnd());
  CHECK(f.PageOfTab(1) == f.pages[0]->hwnd());
}

TEST_CASE("tab pages: a tab outside the tabs has no page") {
  TabFixture f(2);
  CHECK(f.PageOfTab(2) == nullptr);
  CHECK(f.PageOfTab(static_cast<WPARAM>(-1)) == nullptr);
  CHECK(f.manager.GetPage(5) == nullptr);
  CHECK(f.manager.GetPage(-1) == nullptr);
  TabFixture none(0);
  CHECK(none.PageOfTab(0) == nullptr);
}

TEST_CASE("tab pages: selecting a tab shows its page below the tabs and hides the old one") {
  TabFixture f(3);
  ::SendMessageA(f.tab, TCM_SETCURSEL, 1, 0);
  CHECK(f.manager.GetCurSel() == 1);
  CHECK(f.pages[1]->visible());
  CHECK_FALSE(f.pages[0]->visible());
  CHECK(SameRect(f.pages[1]->placement(), f.ExpectedPlacement()));
  CHECK(f.pages[1]->placement().top > 5 + 5);  // below the row of tabs

  CHECK(::SendMessageA(f.tab, kMsgTabSelect, 2, 0) == 0);
  CHECK(f.manager.GetCurSel() == 2);
  CHECK(f.pages[2]->visible());
  CHECK_FALSE(f.pages[1]->visible());
  CHECK(SameRect(f.pages[2]->placement(), f.ExpectedPlacement()));
  // Tab pages get no page-manager notifications.
  for (auto& p : f.pages) CHECK(p->messages == kNone);
}

TEST_CASE("tab pages: a tab index outside the tabs changes nothing") {
  TabFixture f(2);
  f.manager.SelectPage(1);
  CHECK(::SendMessageA(f.tab, kMsgTabSelect, 2, 0) == 0);
  CHECK(::SendMessageA(f.tab, kMsgTabSelect, static_cast<WPARAM>(-1), 0) == 0);
  CHECK_FALSE(f.manager.SelectPage(7));
  CHECK_FALSE(f.manager.SelectPage(-3));
  CHECK(f.manager.GetCurSel() == 1);
  CHECK(f.pages[1]->visible());
  CHECK_FALSE(f.pages[0]->visible());
  // The plain tab-control message with a bad index leaves the current page shown too.
  ::SendMessageA(f.tab, TCM_SETCURSEL, 9, 0);
  CHECK(f.manager.GetCurSel() == 1);
  CHECK(f.pages[1]->visible());
}

TEST_CASE("tab pages: clicking a tab switches pages through the owner's reflected notifications") {
  TabFixture f(3);
  f.manager.SelectPage(0);
  RECT item = {};
  REQUIRE(::SendMessageA(f.tab, TCM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item)));
  LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
  ::SendMessageA(f.tab, WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::SendMessageA(f.tab, WM_LBUTTONUP, 0, at);
  CHECK(f.manager.GetCurSel() == 2);
  CHECK(f.pages[2]->visible());
  CHECK_FALSE(f.pages[0]->visible());
  CHECK(SameRect(f.pages[2]->placement(), f.ExpectedPlacement()));
}

TEST_CASE("tab pages: notifications of another control are left alone") {
  TabFixture f(2);
  f.manager.SelectPage(0);
  NMHDR foreign = {f.host.hwnd(), 0, static_cast<UINT>(TCN_SELCHANGING)};
  CHECK(::SendMessageA(f.tab, kMsgReflectedNotify, 0, reinterpret_cast<LPARAM>(&foreign)) == 0);
  CHECK(f.pages[0]->visible());
  CHECK(CTabCtrlPageManager::ReflectNotify(nullptr) == 0);
}

TEST_CASE("tab pages: resizing lays out the current page again") {
  TabFixture f(2);
  f.manager.SelectPage(0);
  CHECK(f.pages[0]->placement().top > 10);
  RECT hidden = f.pages[1]->placement();
  ::SetWindowPos(f.tab, nullptr, 0, 0, 320, 220, SWP_NOMOVE | SWP_NOZORDER);
  CHECK(SameRect(f.pages[0]->placement(), f.ExpectedPlacement()));
  CHECK(f.pages[0]->placement().right == 320 - 5);
  CHECK(SameRect(f.pages[1]->placement(), hidden));
}

TEST_CASE("tab pages: with two rows of tabs the page starts below both") {
  TabFixture f(6, TCS_MULTILINE, 200, 200);
  f.manager.SelectPage(0);
  int rows = static_cast<int>(::SendMessageA(f.tab, TCM_GETROWCOUNT, 0, 0));
  REQUIRE(rows >= 2);
  RECT item = {};
  ::SendMessageA(f.tab, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
  RECT placed = f.pages[0]->placement();
  CHECK(placed.top == 5 + rows * (item.bottom - item.top));
  CHECK(SameRect(placed, f.ExpectedPlacement()));
}

TEST_CASE("tab pages: deleting all tabs hides every page but destroys none") {
  TabFixture f(3);
  f.manager.SelectPage(2);
  ::SendMessageA(f.tab, TCM_DELETEALLITEMS, 0, 0);
  CHECK(f.manager.GetTabCount() == 0);
  for (auto& p : f.pages) {
    CHECK(::IsWindow(p->hwnd()));
    CHECK_FALSE(p->visible());
  }
  CHECK(f.manager.GetCurSel() == -1);
  CHECK_FALSE(f.manager.SelectPage(0));
}

TEST_CASE("tab pages: deleting the current tab hides its page") {
  TabFixture f(3);
  f.manager.SelectPage(1);
  ::SendMessageA(f.tab, TCM_DELETEITEM, 1, 0);
  CHECK(::IsWindow(f.pages[1]->hwnd()));
  CHECK_FALSE(f.pages[1]->visible());
  CHECK(f.manager.GetTabCount() == 2);
  CHECK(::SendMessageA(f.tab, TCM_DELETEITEM, 5, 0) == FALSE);
}
