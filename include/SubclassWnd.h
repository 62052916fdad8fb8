// Takes over the window procedure of an existing control for the lifetime of an object and gives it
// back afterwards: when the object goes first the old procedure is put back, and when the window goes
// first the object is told and forgets it.
#pragma once

#include <windows.h>

class CSubclassWnd {
 public:
  CSubclassWnd() = default;
  CSubclassWnd(const CSubclassWnd&) = delete;
  CSubclassWnd& operator=(const CSubclassWnd&) = delete;
  virtual ~CSubclassWnd();

  HWND hwnd() const { return m_hWnd; }

 protected:
  // Fails for a missing window, a window this object already holds, or a window another object of
  // this kind holds.
  bool Attach(HWND hwnd);
  // Puts the old procedure back. If another procedure was chained on top since, ours stays in the
  // chain but only passes messages on. Derived classes call this first in their destructors, while
  // their own members still exist.
  void Detach();

  virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) = 0;
  // Called once the window is gone or given back.
  virtual void OnDetached() {}
  LRESULT CallOriginal(UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK Thunk(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  HWND m_hWnd = nullptr;
  WNDPROC m_oldProc = nullptr;
};
