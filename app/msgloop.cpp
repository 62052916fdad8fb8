#include "app/msgloop.h"

#include <algorithm>
#include <utility>

namespace {
CMessageLoop* g_loop = nullptr;
}

CMessageLoop* CurrentMessageLoop() { return g_loop; }

void CMessageLoop::AddDialog(HWND dialog) { m_dialogs.push_back(dialog); }

void CMessageLoop::RemoveDialog(HWND dialog) {
  m_dialogs.erase(std::remove(m_dialogs.begin(), m_dialogs.end(), dialog), m_dialogs.end());
}

bool CMessageLoop::PreTranslate(MSG& msg) const {
  for (HWND dialog : m_dialogs) {
    if (::IsWindow(dialog) && ::IsDialogMessageA(dialog, &msg)) return true;
  }
  return false;
}

int CMessageLoop::Run() {
  CMessageLoop* outer = std::exchange(g_loop, this);
  MSG msg;
  int result = 0;
  for (;;) {
    BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
    if (got == -1) {
      ::OutputDebugStringA("::GetMessage returned -1 (error)\n");
      continue;
    }
    if (!got) {
      result = static_cast<int>(msg.wParam);
      break;
    }
    if (!PreTranslate(msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
  }
  g_loop = outer;
  return result;
}
