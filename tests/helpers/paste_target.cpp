// A stand-in for the program the user types in: one window with a multi-line edit that has the
// keyboard focus. Ends on WM_CLOSE. Its window class is "QuorvelPasteTarget". It is a Unicode
// program, as most are today: what it pastes is what the clipboard's Unicode text holds.
#include <windows.h>

namespace {
HWND g_edit = nullptr;

LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
  switch (m) {
    case WM_CREATE:
      g_edit = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0, 400,
                                 200, h, reinterpret_cast<HMENU>(100), nullptr, nullptr);
      // A text shortcut may be long; the edit takes far more than its default 30,000 characters.
      ::SendMessageW(g_edit, EM_SETLIMITTEXT, 0, 0);
      return 0;
    case WM_SETFOCUS:
      ::SetFocus(g_edit);
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefWindowProcW(h, m, w, l);
  }
}
}  // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = Proc;
  wc.hInstance = inst;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = L"QuorvelPasteTarget";
  ::RegisterClassW(&wc);
  HWND w = ::CreateWindowW(wc.lpszClassName, L"Paste target", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 420, 240,
                           nullptr, nullptr, inst, nullptr);
  ::SetForegroundWindow(w);
  ::SetFocus(g_edit);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}
