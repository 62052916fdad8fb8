#include "app/startup.h"

#include <commctrl.h>

#include "app/maindlg.h"
#include "actions/closecomputerdlg.h"
#include "actions/executor.h"
#include "app/msgloop.h"
#include "hotkeys/backup.h"
#include "include/GlobalData.h"
#include "include/Picture.h"
#include "include/handles.h"
#include "include/miscfuns.h"
#include "include/xmlcodec_win.h"

namespace {

int RunMainWindow() {
  CMessageLoop loop;
  CMainDlg mainDlg;
  if (!mainDlg.Create()) {
    ::OutputDebugStringA("Main dialog creation failed!\n");
    return 0;
  }
  loop.AddDialog(mainDlg.hwnd());
  return loop.Run();
}

}  // namespace

bool NotifyRunningInstance() {
  HWND target = CMiscFuns::FindWindowByClass(names::kInstanceWindowClass);
  if (!target || !::IsWindow(target)) return false;
  ::SendMessageA(target, kMsgShowRequest, 0, 0);
  return true;
}

int RunQuorvel(HINSTANCE) {
  InitGlobalPaths();
  // Text in XML files is converted with the system code page, and saves replace files in one step.
  xml::InstallWin32Platform();
  // The real shutdown dialog; tests install a stand-in that never touches the machine.
  SetShutdownDialogRunner(ShowCloseComputerDialog);

  KernelHandle mutex(::CreateMutexA(nullptr, FALSE, names::kInstanceMutex));
  if (mutex && ::GetLastError() == ERROR_ALREADY_EXISTS) {
    NotifyRunningInstance();
    return 0;
  }
  // Only the one running instance may put right what a crash cut off: a hotkey save first, then
  // an import between the texts and the hotkeys (both old or both new).
  RecoverInterruptedImport();

  ComScope com;
  INITCOMMONCONTROLSEX icc = {};
  icc.dwSize = sizeof icc;
  icc.dwICC = ICC_BAR_CLASSES | ICC_COOL_CLASSES;
  ::InitCommonControlsEx(&icc);

  // GDI+ starts with the first picture the window shows; the main window object is gone when
  // RunMainWindow returns, so its pictures are. Then COM and the mutex end as their scopes do.
  int result = RunMainWindow();
  ShutdownPictures();
  return result;
}
