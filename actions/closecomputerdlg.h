// The shutdown dialog: five large buttons (shut down, restart, sleep, log off, hibernate), a close
// button, a heading and the uptime line. Modal, captionless, always on top; at most one is open at a
// time on the whole system, marked by a named shared-memory block.
//
// The program shows it with the real power operations:
//   ShowCloseComputerDialog(owner);
// which is
//   power::CSystemPowerActions actions;
//   CCloseComputerDlg dlg(actions);
//   dlg.DoModal(owner);
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

#include "actions/poweractions.h"
#include "include/BoldTextStatic.h"
#include "include/DialogBase.h"
#include "include/GlobalData.h"
#include "include/IconButton.h"

class CCloseComputerDlg : public CDialogBase {
 public:
  // Milliseconds since the system started.
  using UptimeClock = std::function<uint64_t()>;
  static uint64_t SystemUptime();

  explicit CCloseComputerDlg(power::IPowerActions& actions, UptimeClock clock = SystemUptime);
  // Always IDCANCEL once the dialog has run (at once when another one is open); -1 when the
  // template cannot be loaded.
  INT_PTR DoModal(HWND owner);
  // True when the last DoModal ended at once because another shutdown dialog was open.
  bool WasRefused() const { return m_refused; }

 private:
  INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  BOOL OnInitDialog() override;
  BOOL OnEraseBackground(HDC dc);
  void OnCommand(int id, int code) override;
  void OnTimer(UINT_PTR id);
  void OnLButtonDown(LPARAM lParam);
  void OnDestroy();

  void SetUpStatics();
  void SetUpButtons();
  void RefreshUptime();
  // A control's rectangle in the dialog's client coordinates.
  RECT ControlRect(int id) const;

  power::IPowerActions& m_actions;
  UptimeClock m_clock;
  bool m_refused = false;
  CSharedMemory m_marker;
  CBoldTextStatic m_heading, m_uptime;
  CIconButton m_close;
  CIconButton m_buttons[5];
};

// The program's way to show the dialog: real power operations, owned by `owner`.
void ShowCloseComputerDialog(HWND owner);
