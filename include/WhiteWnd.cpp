#include "include/WhiteWnd.h"

#include "include/controldraw.h"
#include "include/controlmath.h"
#include "include/dpi.h"
#include "include/handles.h"

void PaintWhiteDialogBackground(HWND dialog, HDC dc) {
  if (!dialog) return;
  HWND ok = ::GetDlgItem(dialog, IDOK);
  PaintWhiteBands(dialog, dc, ok != nullptr, ok ? ctldraw::RectInParent(ok).top : 0);
}

void PaintWhiteBands(HWND dialog, HDC dc, bool split, int splitTop) {
  if (!dialog || !dc) return;
  RECT client;
  ::GetClientRect(dialog, &client);
  ctl::WhiteBands bands = ctl::WhiteWndBands(ctldraw::ToRect(client), split, splitTop, dpi::Scaled(dialog, 15));
  ctldraw::FillSolid(dc, ctldraw::ToRECT(bands.white), RGB(255, 255, 255));
  ctldraw::FillSolid(dc, ctldraw::ToRECT(bands.grey), RGB(235, 235, 235));
  if (bands.line) {
    PenHandle line(::CreatePen(PS_SOLID, 1, RGB(165, 165, 165)));
    SelectedObject pen(dc, line.get());
    ::MoveToEx(dc, client.left, bands.lineY, nullptr);
    ::LineTo(dc, client.right, bands.lineY);
  }
}
