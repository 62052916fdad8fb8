// Mix-in for dialogs: a white background with a grey band behind the buttons, split by a line
// 15 pixels above the OK button (control 1).
//
//   class CMyDlg : public CWhiteWnd<CMyDlg> { ... HWND hwnd() const; ... };
//   INT_PTR CMyDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
//     INT_PTR result = 0;
//     if (HandleWhiteWndMessage(msg, wParam, lParam, result)) return result;
//     ...
#pragma once

#include <windows.h>

// Paints the white and grey bands of `dialog` into `dc`; all white when it has no OK button.
void PaintWhiteDialogBackground(HWND dialog, HDC dc);
// The same bands split as if the OK button's top were at `splitTop`; all white without `split`.
void PaintWhiteBands(HWND dialog, HDC dc, bool split, int splitTop);

template <typename T>
class CWhiteWnd {
 protected:
  // The dialog's WM_ERASEBKGND.
  BOOL OnEraseBackground(HDC dc) {
    PaintWhiteDialogBackground(static_cast<T*>(this)->hwnd(), dc);
    return TRUE;
  }
  // For a dialog procedure: true when the message was the background request; `result` is then the
  // dialog procedure's answer (the erase result is also left in DWLP_MSGRESULT).
  bool HandleWhiteWndMessage(UINT msg, WPARAM wParam, LPARAM /*lParam*/, INT_PTR& result) {
    if (msg != WM_ERASEBKGND) return false;
    HWND dialog = static_cast<T*>(this)->hwnd();
    result = OnEraseBackground(reinterpret_cast<HDC>(wParam));
    ::SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 1);
    return true;
  }
};
