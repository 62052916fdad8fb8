#include "include/HyperLinkButton.h"

#include "include/controldraw.h"
#include "include/handles.h"

namespace {
// A WM_DRAWITEM that the parent reflected back to the control that asked for it.
constexpr UINT kReflectedDrawItem = WM_USER + 0x1C00 + WM_DRAWITEM;
}  // namespace

CHyperLinkButton::CHyperLinkButton() : m_crDisabled(::GetSysColor(COLOR_GRAYTEXT)) {}

CHyperLinkButton::~CHyperLinkButton() { Detach(); }

bool CHyperLinkButton::SubclassWindow(HWND button) {
  if (!Attach(button)) return false;
  LONG_PTR style = ::GetWindowLongPtrA(button, GWL_STYLE);
  ::SetWindowLongPtrA(button, GWL_STYLE, (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW);
  // With the window, not with the object: a link waiting for its window costs no system call.
  m_hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND));
  m_bHover = false;
  m_cues = ctl::AccessKeyCues(ctldraw::QueryHidesAccessKeys(button));
  MeasureText();
  Redraw();
  return true;
}

void CHyperLinkButton::MeasureText() {
  HWND self = hwnd();
  RECT client;
  ::GetClientRect(self, &client);
  std::string text = ctldraw::WindowText(self);
  RECT extent = {0, 0, 0, 0};
  if (!text.empty()) {
    ClientDc dc(self);
    SelectedObject font(dc.get(), ctldraw::ControlFont(self));
    ::DrawTextA(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent, DT_CALCRECT | DT_SINGLELINE);
  }
  auto style = static_cast<uint32_t>(::GetWindowLongPtrA(self, GWL_STYLE));
  m_rcText = ctldraw::ToRECT(ctl::LinkTextRect(style, ctldraw::ToRect(client), extent.right, extent.bottom));
}

void CHyperLinkButton::Redraw() { ctldraw::RedrawWithParent(hwnd()); }

void CHyperLinkButton::SetHover(bool on) {
  if (m_bHover == on) return;
  m_bHover = on;
  Redraw();
}

void CHyperLinkButton::Click() {
  HWND self = hwnd();
  ::SendMessageA(::GetParent(self), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(self), BN_CLICKED),
                 reinterpret_cast<LPARAM>(self));
}

void CHyperLinkButton::DrawItem(const DRAWITEMSTRUCT& item) {
  HWND self = hwnd();
  if (!self || !item.hDC) return;
  std::string text = ctldraw::WindowText(self);
  if (text.empty()) return;
  COLORREF colour = !::IsWindowEnabled(self) ? m_crDisabled : m_bHover ? m_crHover : m_crLink;
  RECT rc = item.rcItem;
  auto style = static_cast<uint32_t>(::GetWindowLongPtrA(self, GWL_STYLE));
  int oldMode = ::SetBkMode(item.hDC, TRANSPARENT);
  COLORREF oldColour = ::SetTextColor(item.hDC, colour);
  {
    SelectedObject font(item.hDC, ctldraw::ControlFont(self));
    ctldraw::DrawCueText(item.hDC, text, rc, ctl::LinkTextFormat(style), m_cues.hidden());
  }
  ::SetTextColor(item.hDC, oldColour);
  ::SetBkMode(item.hDC, oldMode);
}

LRESULT CHyperLinkButton::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND self = hwnd();
  auto paint = [&](HDC dc) {
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = static_cast<UINT>(::GetDlgCtrlID(self));
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = (::IsWindowEnabled(self) ? 0 : ODS_DISABLED) | (::GetFocus() == self ? ODS_FOCUS : 0);
    item.hwndItem = self;
    item.hDC = dc;
    ::GetClientRect(self, &item.rcItem);
    DrawItem(item);
  };
  switch (msg) {
    case WM_PAINT: {
      PaintDc dc(self);
      paint(dc.get());
      return 0;
    }
    case WM_PRINTCLIENT:
      paint(reinterpret_cast<HDC>(wParam));
      return 0;
    case kReflectedDrawItem:
      if (lParam) DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_ERASEBKGND:
      // The text is drawn over the parent's pixels, which the parent has painted under us already.
      return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (::PtInRect(&m_rcText, pt)) {
        ::SetFocus(self);
        ::SetCapture(self);
      }
      return 0;
    }
    case WM_LBUTTONUP: {
      if (::GetCapture() != self) return 0;
      ::ReleaseCapture();
      POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (::PtInRect(&m_rcText, pt) && ::IsWindowEnabled(self)) Click();
      return 0;
    }
    case WM_MOUSEMOVE:
      if (!m_bHover) {
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, self, 0};
        ::TrackMouseEvent(&tme);
        SetHover(true);
      }
      return 0;
    case WM_MOUSELEAVE:
      SetHover(false);
      return 0;
    case WM_SETCURSOR:
      if (m_hCursor) {
        ::SetCursor(m_hCursor);
        return TRUE;
      }
      break;
    case WM_GETDLGCODE: {
      LRESULT code = CallOriginal(msg, wParam, lParam);
      // Enter on the link follows the link, whatever the dialog's default button is.
      if (ctldraw::IsEnterKeyQuery(lParam)) code |= DLGC_WANTALLKEYS;
      return code;
    }
    case WM_CHAR:
      if ((wParam == 13 || wParam == 32) && ::IsWindowEnabled(self)) Click();
      return 0;
    case BM_CLICK:
      // The access key's click: the button's own would press the mouse at its corner, which may lie
      // outside the text.
      if (::IsWindowEnabled(self)) Click();
      return 0;
    case WM_UPDATEUISTATE: {
      LRESULT result = CallOriginal(msg, wParam, lParam);
      if (ctldraw::FollowCues(m_cues, self, wParam)) Redraw();
      return result;
    }
    case WM_KEYDOWN:
    case WM_KEYUP:
      // The space bar clicks through its character message alone; the button's own key handling
      // would click a second time.
      if (wParam == VK_SPACE) return 0;
      break;
    case WM_ENABLE:
      Redraw();
      return 0;
    case WM_SETTEXT: {
      LRESULT result = ::DefWindowProcA(self, msg, wParam, lParam);
      MeasureText();
      Redraw();
      return result;
    }
    case WM_SETFONT: {
      LRESULT result = CallOriginal(msg, wParam, lParam);
      MeasureText();
      if (lParam) Redraw();
      return result;
    }
    case WM_SIZE: {
      LRESULT result = CallOriginal(msg, wParam, lParam);
      MeasureText();
      return result;
    }
    default:
      break;
  }
  return CallOriginal(msg, wParam, lParam);
}
