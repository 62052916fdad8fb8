// The notice that slides up from the bottom right corner of the work area: an icon and a line of
// text, shown for a while and slid out again. The main window makes one at the first volume step
// and keeps it for the rest of the run.
#pragma once

#include <windows.h>

#include <string>

#include "include/dpi.h"
#include "include/handles.h"

class CTrayMessageDlg {
 public:
  CTrayMessageDlg() = default;
  CTrayMessageDlg(const CTrayMessageDlg&) = delete;
  CTrayMessageDlg& operator=(const CTrayMessageDlg&) = delete;
  ~CTrayMessageDlg();

  // Creates the popup, hidden.
  bool Create(HWND owner);
  HWND hwnd() const { return m_hWnd; }

  // Replaces the icon (a resource id, drawn 48 x 48 at 96 dpi) and the text.
  void SetMessage(int iconId, const std::string& text);
  // Seconds until the notice slides out again; -1 keeps it up.
  void SetDisplayTime(int seconds) { m_displaySeconds = seconds; }
  // Restarts the display time and slides the popup in unless it is already up or moving.
  void ShowMessage();

  bool slidingIn() const { return m_slidingIn; }
  bool slidingOut() const { return m_slidingOut; }
  const std::string& text() const { return m_text; }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  void OnTimer(UINT_PTR id);
  void OnPaint();
  void SlideIn();
  void SlideOut();
  void DisplayTimeOver();
  RECT WorkArea() const;
  void MakeFont(int dpi);
  void LoadIcon();
  int Px(int value96) const;
  void OnDpiChanged(WPARAM wParam, LPARAM lParam);

  HWND m_hWnd = nullptr;
  IconHandle m_icon;
  FontHandle m_font;
  int m_iconId = 0;
  dpi::CDpiFonts m_dpiFonts;
  std::string m_text;
  int m_displaySeconds = -1;
  bool m_slidingIn = false, m_slidingOut = false;
};
