// A static painted as a colour ramp, or as a one-pixel ramp line (separators).
#pragma once

#include <windows.h>

#include "include/SubclassWnd.h"
#include "include/controlmath.h"

class CGradientLineStatic : public CSubclassWnd {
 public:
  CGradientLineStatic() = default;
  ~CGradientLineStatic() override;

  bool SubclassWindow(HWND control);
  void UnsubclassWindow() { Detach(); }

  void SetColors(COLORREF a, COLORREF b);
  void SetStyle(DWORD style);  // ctl::GradientLineStyle bits
  COLORREF ColorA() const { return m_crA; }
  COLORREF ColorB() const { return m_crB; }
  DWORD Style() const { return m_dwStyle; }

 private:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

  COLORREF m_crA = RGB(0, 0, 0), m_crB = RGB(255, 255, 255);
  DWORD m_dwStyle = ctl::GradientLineStyle::Horizontal;
};
