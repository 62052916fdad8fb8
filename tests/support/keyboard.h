// The keyboard as a user meets it: keys pressed into the system's input, the focus they move, the
// Tab order and the access keys of a window. Everything here works on windows of another thread or
// process, so the keys go through the window's own message loop and dialog manager; a dialog of
// this program can get a thread of its own for that (DialogThread).
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

// Presses the modifiers and the key and lets go of them in reverse order, as the keyboard does.
// The window in front gets them, from its thread's loop; this returns at once.
void InjectChord(std::initializer_list<BYTE> modifiers, BYTE key);
// Polls `condition` every 20 ms, handling this thread's messages meanwhile, until it holds or
// `ms` pass.
bool WaitPumping(const std::function<bool()>& condition, DWORD ms);

// The control with the keyboard focus in the thread of `window`.
HWND FocusIn(HWND window);
// Presses a chord and waits until the focus in the thread of `window` satisfies `landed`.
bool PressAndWaitFocus(HWND window, std::initializer_list<BYTE> modifiers, BYTE key,
                       const std::function<bool(HWND)>& landed, DWORD ms = 3000);

// A control as the dialog manager sees it.
struct DialogControl {
  HWND hwnd = nullptr;
  int id = 0;
  std::string cls, text;
  RECT rect = {};      // on the screen
  LONG_PTR style = 0;
  LRESULT dlgCode = 0;  // its answer to WM_GETDLGCODE
  bool IsButton() const { return (dlgCode & DLGC_BUTTON) != 0; }
  bool IsStatic() const { return (dlgCode & DLGC_STATIC) != 0; }
  bool IsCheckBox() const;
};
std::string Describe(const DialogControl& c);

// Every visible control below `window` (those of its pages included), in the order the dialog
// manager walks them.
std::vector<DialogControl> VisibleControls(HWND window);

// The access keys of a window as the user sees them, and what is wrong with them: two controls
// with the same key; a label (a static before a box that takes the focus), a button or a check
// box whose text has letters but not exactly one access key (the ids in `unmarked` may have none:
// OK and Cancel, whose keys are Enter and Escape, always may); a caption with an access key.
struct AccessKeyUse {
  DialogControl control;
  char key = 0;                 // upper case
  DialogControl target;         // for a label: the control its key moves to
};
std::vector<AccessKeyUse> AccessKeysOf(HWND window);
std::vector<std::string> AccessKeyProblems(HWND window, const std::vector<int>& unmarked = {});

// The virtual key that types `key` (A to Z, 0 to 9).
BYTE KeyOf(char key);

// The controls the Tab key visits in `window`, from the focus once round to it again (at most
// `limit`); empty when a press moves the focus nowhere.
std::vector<DialogControl> TabCycle(HWND window, int limit = 60);
// What is wrong with a Tab cycle: each step from a control to one before it in reading order (left
// to right in a row, rows from the top; a control inside another follows it), from the first tab
// stop of the window on (the step from the last back to it closes the cycle); and each visible tab
// stop of `window` that the cycle misses.
std::vector<std::string> TabOrderProblems(HWND window, const std::vector<DialogControl>& cycle);

// Checks `window` as a user pressing the keys finds it: no AccessKeyProblems; Alt with a label's key
// puts the focus into its box; Alt with a check box's key ticks or clears it, and once more puts it
// back; no TabOrderProblems. The keys of buttons are not pressed here: they would act.
void CheckKeyboardUse(HWND window, const std::vector<int>& unmarked = {});

// A modal dialog on a thread of its own, so that this thread can press keys into it as a user does
// while the dialog's own modal loop handles them, and watch what happens.
class DialogThread {
 public:
  // `show` runs on the new thread: it opens the dialog modally and gives its result.
  explicit DialogThread(std::function<INT_PTR()> show);
  DialogThread(const DialogThread&) = delete;
  DialogThread& operator=(const DialogThread&) = delete;
  // Cancels whatever of the thread is still open (innermost first) and waits for the thread.
  ~DialogThread();

  DWORD id() const { return m_id; }
  // A visible dialog window of the thread that passes `test` (any when null); null after `ms`.
  HWND WaitDialog(const std::function<bool(HWND)>& test = nullptr, DWORD ms = 8000) const;
  // The thread's dialog in front: enabled, so no modal window of its own is above it.
  HWND WaitTopDialog(DWORD ms = 8000) const;
  bool WaitEnd(DWORD ms = 8000);
  INT_PTR result() const { return m_result; }

 private:
  static DWORD WINAPI Run(LPVOID self);
  std::function<INT_PTR()> m_show;
  HANDLE m_thread = nullptr;
  DWORD m_id = 0;
  INT_PTR m_result = -1;
};
