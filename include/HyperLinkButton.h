// A button drawn as a line of link text that changes colour under the mouse; Enter, the space bar and
// a click on the text send the button's command to its parent.
#pragma once

#include <windows.h>

#include <string>

#include "include/SubclassWnd.h"
#include "include/controlmath.h"

class CHyperLinkButton : public CSubclassWnd {
 public:
  CHyperLinkButton();
  ~CHyperLinkButton() override;

  // Takes over the button and makes it owner-drawn. False when the window is missing or taken.
  bool SubclassWindow(HWND button);
  void UnsubclassWindow() { Detach(); }

  // The drawing of an owner-draw request; the control answers its own paints and reflected
  // WM_DRAWITEM (OCM_DRAWITEM) with it, and an owner that does not reflect may call it.
  void DrawItem(const DRAWITEMSTRUCT& item);

  bool IsHovering() const { return m_bHover; }
  // The part of the client area the text covers.
  RECT TextRect() const { return m_rcText; }

  COLORREF m_crLink = RGB(0, 0, 255);
  COLORREF m_crHover = RGB(50, 50, 200);
  COLORREF m_crDisabled;          // the system grey text colour
  HCURSOR m_hCursor = nullptr;    // the system hand cursor, shared

 private:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void MeasureText();
  void SetHover(bool on);
  void Click();
  void Redraw();

  RECT m_rcText = {0, 0, 0, 0};
  bool m_bHover = false;
  ctl::AccessKeyCues m_cues;
};
