// Drives dialogs from inside their modal loops, as a user answers them: steps run from a timer on
// this thread, each once the window it waits for is on screen (inside the loops a step opens too).
// A script that stalls ends every dialog of the thread, so a broken test cannot hang the run.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

// What a dialog ended by the time-out gives.
constexpr INT_PTR kTimedOut = 999;

struct MessageBoxSeen {
  std::string caption, text;
};

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
  // Reads and closes with OK, before any step, each message box that `owner` gives the owner of.
  DialogScript& AnswerBoxesOf(Find owner);
  // Starts the timer; call right before the modal call.
  void Start(DWORD timeoutMs = 10000);
  bool Done() const { return m_steps.empty() && !m_running; }
  bool TimedOut() const { return m_timedOut; }
  size_t Remaining() const { return m_steps.size(); }
  const std::vector<MessageBoxSeen>& Boxes() const { return m_boxes; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
  void OnTick();
  void AnswerBoxes();

  struct Step {
    Find find;
    Act act;
  };
  std::deque<Step> m_steps;
  Find m_boxOwner;
  std::vector<MessageBoxSeen> m_boxes;
  UINT_PTR m_timer = 0;
  DWORD m_deadline = 0;
  bool m_running = false;
  bool m_timedOut = false;
  DialogScript* m_outer = nullptr;
  static DialogScript* s_current;
};

// Runs `step` with the dialog once `dialog()` shows it, from inside `modal()`, which opens it and
// gives its result. Message boxes the dialog owns are read and closed with OK as they come, into
// `boxes`; without `boxes` none may come. Checks that the step ran.
INT_PTR RunModal(const std::function<INT_PTR()>& modal, const std::function<HWND()>& dialog,
                 const std::function<void(HWND)>& step, std::vector<MessageBoxSeen>* boxes = nullptr,
                 DWORD timeoutMs = 8000);

// The same for a dialog object with DoModal(owner) and hwnd().
template <class Dialog>
INT_PTR RunDialog(Dialog& dlg, const std::function<void(HWND)>& step, std::vector<MessageBoxSeen>* boxes = nullptr,
                  HWND owner = nullptr) {
  return RunModal([&] { return dlg.DoModal(owner); }, [&] { return dlg.hwnd(); }, step, boxes);
}

// A visible window of this thread that passes `test`.
HWND FindThreadWindow(const std::function<bool(HWND)>& test);
bool IsDialogWindow(HWND hwnd);
// A visible message box (or other dialog) that `owner` owns.
HWND FindBoxOwnedBy(HWND owner);
// The longest static text of a message box: its message.
std::string MessageBoxText(HWND box);
// Ends every dialog of this thread, the innermost first (one a call), and any open menu.
void EndAllDialogs();

std::string TextOf(HWND window);
// The text of a tree view item.
std::string TreeItemText(HWND tree, HTREEITEM item);
// The same with every character, as UTF-8.
std::string TreeItemTextUtf8(HWND tree, HTREEITEM item);
std::string ClassOf(HWND window);
std::vector<std::string> ComboItems(HWND combo);
std::string ComboSelection(HWND combo);
// Selects the item named `name` the way a user does (CB_SETCURSEL and the notification).
bool ChooseComboItem(HWND dialog, int comboId, const std::string& name);

// Clicks a button with BM_CLICK (synchronous) or by posting its command (for buttons that open a
// modal window, so the script's next step can deal with it, and for another program's windows).
void Click(HWND dialog, int id);
void PostClick(HWND dialog, int id);
