#include "include/GradientLineStatic.h"

#include "include/controldraw.h"
#include "include/handles.h"

CGradientLineStatic::~CGradientLineStatic() { Detach(); }

bool CGradientLineStatic::SubclassWindow(HWND control) {
  if (!Attach(control)) return false;
  ::InvalidateRect(control, nullptr, FALSE);
  return true;
}

void CGradientLineStatic::SetColors(COLORREF a, COLORREF b) {
  m_crA = a;
  m_crB = b;
  if (hwnd()) ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void CGradientLineStatic::SetStyle(DWORD style) {
  m_dwStyle = style;
  // A line-only style leaves most of the control to the parent's pixels.
  ctldraw::RedrawWithParent(hwnd());
}

LRESULT CGradientLineStatic::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  auto paint = [this](HDC dc) {
    RECT client;
    ::GetClientRect(hwnd(), &client);
    ctldraw::FillBands(dc, ctl::GradientLineBands(m_dwStyle, ctldraw::ToRgb(m_crA), ctldraw::ToRgb(m_crB),
                                                  ctldraw::ToRect(client)));
  };
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PaintDc dc(hwnd());
      paint(dc.get());
      return 0;
    }
    case WM_PRINTCLIENT:
      paint(reinterpret_cast<HDC>(wParam));
      return 0;
    default:
      break;
  }
  return CallOriginal(msg, wParam, lParam);
}
