#include "actions/executor.h"

#include <shellapi.h>

#include <utility>
#include <vector>

#include "actions/actionline.h"
#include "actions/devicecontrol.h"
#include "include/GlobalData.h"
#include "include/keyinput.h"
#include "include/miscfuns.h"
#include "include/msgwait.h"
#include "include/systemdlls.h"
#include "predefinedtext/PredefinedTextSelector.h"

namespace {

DialogRunner g_shutdownDialog;
ActionTrace g_trace;

// A window that stops answering must not hang the hotkey thread for ever.
constexpr UINT kCloseWaitMs = 5000;

std::string Expanded(const std::string& value) {
  return CMiscFuns::ExpandEnvironmentMacros(CMiscFuns::ExpandPathMacros(value, MacroDirection::Expand),
                                            MacroDirection::Expand);
}

void RunShellExecute(const std::vector<std::string>& t) {
  std::string file = Expanded(t[1]), parameters = Expanded(t[2]), folder = Expanded(t[3]);
  SHELLEXECUTEINFOA sei = {};
  sei.cbSize = sizeof sei;
  sei.fMask = SEE_MASK_NOCLOSEPROCESS;
  sei.lpFile = file.c_str();
  sei.lpParameters = parameters.c_str();
  sei.lpDirectory = folder.c_str();
  sei.nShow = SW_SHOWNORMAL;
  // We never wait for the program, so its process handle is only ours to close.
  if (::ShellExecuteExA(&sei) && sei.hProcess) ::CloseHandle(sei.hProcess);
}

void NotifyVolume(HWND owner, bool mutedNow, int level) {
  std::string sound = CMiscFuns::GetAppFolder() + "\\sounds\\pop.wav";
  PlaySoundFile(sound, SND_ASYNC);
  std::string text = std::to_string(level);
  ::SendMessageA(owner, kMsgVolumeNotify, mutedNow ? kIconMuted : kIconVolume, reinterpret_cast<LPARAM>(text.c_str()));
}

void RunVolumeStep(HWND owner, bool up, const std::string& step) {
  CVolumeControl control;
  VolumeStepResult r = up ? VolumeStepUp(control, ParseActionNumber(step))
                          : VolumeStepDown(control, ParseActionNumber(step));
  control.Release();
  NotifyVolume(owner, !up && r.muted, r.level);
}

void ShowForegroundWindow(LONG neededStyle, int show) {
  HWND fg = ::GetForegroundWindow();
  if (fg && (::GetWindowLongA(fg, GWL_STYLE) & neededStyle)) ::ShowWindow(fg, show);
}

void CloseForegroundWindow() {
  HWND fg = ::GetForegroundWindow();
  DWORD_PTR ignored = 0;
  if (fg) ::SendMessageTimeoutA(fg, WM_SYSCOMMAND, SC_CLOSE, 0, SMTO_ABORTIFHUNG, kCloseWaitMs, &ignored);
}

void EmptyTheClipboard() {
  if (::OpenClipboard(nullptr)) {
    ::EmptyClipboard();
    ::CloseClipboard();
  }
}

}  // namespace

DialogRunner SetShutdownDialogRunner(DialogRunner runner) { return std::exchange(g_shutdownDialog, std::move(runner)); }

ActionTrace SetActionTrace(ActionTrace trace) { return std::exchange(g_trace, std::move(trace)); }

void ExecuteActionLine(HWND owner, const std::string& line) {
  if (g_trace) g_trace(line);
  std::vector<std::string> t = TokenizeActionLine(line);
  switch (MatchActionCommand(t)) {
    case ActionCommand::ShellExecuteEx: RunShellExecute(t); break;
    case ActionCommand::Sleep: {
      // A negative wait only comes from a hand-edited, quoted number: it waits not at all.
      int32_t ms = ParseActionNumber(t[1]);
      WaitPumpingMessages(ms > 0 ? static_cast<DWORD>(ms) + 1 : 1);
      break;
    }
    case ActionCommand::VolumeUp: RunVolumeStep(owner, true, t[1]); break;
    case ActionCommand::VolumeDown: RunVolumeStep(owner, false, t[1]); break;
    case ActionCommand::InsertPredefinedText: CPredefinedTextSelectorWindow::Open(owner); break;
    case ActionCommand::ShowShutdownDialog:
      if (g_shutdownDialog) g_shutdownDialog(owner);
      break;
    case ActionCommand::EjectCdrom: SetDiscTrayDoor(t[1], true); break;
    case ActionCommand::InsertCdrom: SetDiscTrayDoor(t[1], false); break;
    case ActionCommand::MaximizeActiveWindow: ShowForegroundWindow(WS_MAXIMIZEBOX, SW_MAXIMIZE); break;
    case ActionCommand::MinimizeActiveWindow: ShowForegroundWindow(WS_MINIMIZEBOX, SW_SHOWMINIMIZED); break;
    case ActionCommand::CloseActiveWindow: CloseForegroundWindow(); break;
    case ActionCommand::EmptyRecycleBin:
      ::SHEmptyRecycleBinA(nullptr, nullptr, SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND);
      break;
    case ActionCommand::EmptyClipboard: EmptyTheClipboard(); break;
    case ActionCommand::SimulateWinKeySpace: SendKeyChord({VK_LWIN}, VK_SPACE); break;
    case ActionCommand::Copy: SendKeyChord({VK_CONTROL}, 'C'); break;
    case ActionCommand::Paste: SendKeyChord({VK_CONTROL}, 'V'); break;
    case ActionCommand::None: break;
  }
}
