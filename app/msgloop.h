// The UI thread's message loop. Registered dialogs get their keyboard navigation first.
#pragma once

#include <windows.h>

#include <vector>

class CMessageLoop {
 public:
  // Modeless dialogs that want Tab, arrow keys and Enter handled for them.
  void AddDialog(HWND dialog);
  void RemoveDialog(HWND dialog);

  // Runs until WM_QUIT and returns its wParam.
  int Run();

 private:
  bool PreTranslate(MSG& msg) const;
  std::vector<HWND> m_dialogs;
};

// The loop of the UI thread, while one runs.
CMessageLoop* CurrentMessageLoop();
