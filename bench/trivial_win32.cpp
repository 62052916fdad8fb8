// The yardstick for start-up: a window and a message loop, nothing else.
#include <windows.h>

static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_CLOSE) {
    ::DestroyWindow(h);
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcA(h, m, w, l);
}

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = Proc;
  wc.hInstance = inst;
  wc.lpszClassName = "QuorvelBenchTrivial";
  ::RegisterClassA(&wc);
  ::CreateWindowA(wc.lpszClassName, "trivial", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, inst, nullptr);
  MSG msg;
  while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return 0;
}
