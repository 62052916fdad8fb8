// Starting the real program from a private copy of its program folder.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <vector>
#include <string>

#include "tests/support/modal.h"
#include "tests/winsupport.h"

// A copy of the assembled program folder, so each test has its own settings and hotkeys.
class ProgramCopy {
 public:
  ProgramCopy();
  std::string exe() const { return m_dir / "Quorvel.exe"; }
  std::string operator/(const std::string& name) const { return m_dir / name; }
  const std::string& folder() const { return m_dir.path(); }

 private:
  TempDir m_dir;
};

// A started process; killed at the end of the scope if it is still running.
class RunningProcess {
 public:
  explicit RunningProcess(const std::string& exe, const std::string& args = "");
  RunningProcess(const RunningProcess&) = delete;
  RunningProcess& operator=(const RunningProcess&) = delete;
  ~RunningProcess();
  bool started() const { return m_info.hProcess != nullptr; }
  // Waits for the process to end; returns its exit code, or -1 on time-out.
  long WaitExit(DWORD ms);
  bool Running() const;
  DWORD pid() const { return m_info.dwProcessId; }
  // Its first thread, which runs its message loop.
  HANDLE thread() const { return m_info.hThread; }
  HANDLE handle() const { return m_info.hProcess; }

 private:
  PROCESS_INFORMATION m_info = {};
};

// The started program, up with its hotkeys registered (the status shows its counts); it is quit
// through its exit command at the end of the scope if it still runs.
struct RunningQuorvel {
  RunningProcess process;
  HWND main = nullptr;
  explicit RunningQuorvel(const ProgramCopy& program);
  RunningQuorvel(const RunningQuorvel&) = delete;
  RunningQuorvel& operator=(const RunningQuorvel&) = delete;
  ~RunningQuorvel();
  // Shows the main window as a second start does, and waits until it is visible.
  void Show();
  // Chooses the tray menu's last entry, the exit, with the keyboard.
  void ExitThroughTrayMenu();
};

// A stand-in for the user's program, in front, with the focus in its edit control.
struct PasteTarget {
  RunningProcess process;
  HWND window = nullptr, edit = nullptr;
  PasteTarget();
  PasteTarget(const PasteTarget&) = delete;
  PasteTarget& operator=(const PasteTarget&) = delete;
  ~PasteTarget();
  void Front();
};

// Polls `condition` every 20 ms until it holds or `ms` pass.
bool WaitUntil(const std::function<bool()>& condition, DWORD ms);

// The running instance's main window, found through the window a second instance looks for.
HWND FindMainWindow();
// Starts nothing: waits for the main window of the started program; null when it does not come.
HWND StartAndFindMainWindow(RunningProcess& p);

// Input from outside the program, as a user gives it.
void PressChord(std::initializer_list<BYTE> modifiers, BYTE key);
// Left clicks at a point of the screen, as the mouse gives them.
void ClickAt(POINT screen, int clicks = 1);
void DoubleClickAt(POINT screen);
// A double-click on the name of the text selector's first entry: its row is the first, its label
// right of the icon.
void DoubleClickFirstSelectorEntry(HWND selector);
// The same on the entry in row `row` (0 the first).
void DoubleClickSelectorEntry(HWND selector, int row);
// Types `utf8` into the focused window as a keyboard that sends characters does (an input method,
// an on-screen keyboard): a Unicode key event for each UTF-16 unit.
void TypeUnicode(const std::string& utf8);

constexpr BYTE kCtrl = VK_CONTROL, kAlt = VK_MENU, kShift = VK_SHIFT;
// The [Setting] lines of Ctrl+Shift+Alt with a digit: combinations no desktop keeps for itself.
std::string Combo(char digit);
// An action line that appends `word` as a line of `file` through the command interpreter.
std::string EchoLine(const std::string& word, const std::string& file);

// A hotkey file with the given [Setting] lines (Enable=1 is added) and action lines.
void WriteHotkeyFile(const std::string& path, const std::string& setting, const std::vector<std::string>& lines);
std::string WindowText(HWND h);
// The same with every character, as UTF-8 (WindowText gives '?' for those beyond the code page).
std::string WindowTextUtf8(HWND h);

// The top-level windows of a process, shown or not; with a caption, only the visible ones so titled.
std::vector<HWND> WindowsOf(DWORD pid, const std::string* caption = nullptr);
// Waits for a dialog of the process with this caption to be up (its OK button exists); null if none comes.
HWND WaitForDialog(DWORD pid, const std::string& caption);
// The visible dialog of the process with this caption; null when there is none.
HWND FindBoxOf(DWORD pid, const std::string& caption);
// Chooses the about entry in the tray menu's help submenu with the keys, as a user does.
void OpenAboutFromTrayMenu(HWND main);
// A text of one of the program copy's language files, by key.
std::string LanguageText(const ProgramCopy& program, const std::string& file, const char* key);

