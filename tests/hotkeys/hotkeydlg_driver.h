// Drives the hotkey dialogs from inside their modal loops: a queue of steps, each run once the window
// it waits for is on screen. A script that stalls ends every dialog of the thread, so a broken test
// cannot hang the run.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

class DialogScript {
 public:
  using Find = std::function<HWND()>;
  using Act = std::function<void(HWND)>;

  DialogScript();
  ~DialogScript();
  DialogScript(const DialogScript&) = delete;
  DialogScript& operator=(const DialogScript&) = delete;

  // Adds a step: once `find` gives a visible window, `act` runs with it.
  DialogScript& Then(Find find, Act act);
  // Starts the timer; call right before the modal call.
  void Start(DWORD timeoutMs = 10000);
  bool Done() const { return m_steps.empty() && !m_running; }
  bool TimedOut() const { return m_timedOut; }
  size_t Remaining() const { return m_steps.size(); }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
  void OnTick();

  struct Step {
    Find find;
    Act act;
  };
  std::deque<Step> m_steps;
  UINT_PTR m_timer = 0;
  DWORD m_deadline = 0;
  bool m_running = false;
  bool m_timedOut = false;
  static DialogScript* s_current;
};

// Visible windows of this thread.
HWND FindEditor();       // the hotkey editor
HWND FindManager();      // the manage dialog
HWND FindMessageBox();   // a message box
std::string MessageBoxText(HWND box);
std::string WindowTextOf(HWND window);
// Ends every dialog of this thread (innermost first).
void EndAllDialogs();

// Key box helpers.
std::vector<std::string> ComboItems(HWND combo);
std::string ComboSelection(HWND combo);
// Selects the item named `name` the way a user does (CB_SETCURSEL and the notification).
bool ChooseComboItem(HWND dialog, int comboId, const std::string& name);

// Clicks a button with BM_CLICK (synchronous) or by posting its command (for buttons that open a
// modal window, so the script's next step can deal with it).
void Click(HWND dialog, int id);
void PostClick(HWND dialog, int id);
