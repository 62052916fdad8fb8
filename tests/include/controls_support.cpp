#include "tests/include/controls_support.h"

#include <algorithm>
#include <memory>

#include "include/handles.h"

namespace {
const char kParentClass[] = "QuorvelControlTestParent";

void RegisterParentClass() {
  static bool done = false;
  if (done) return;
  WNDCLASSA wc = {};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = &DefWindowProcA;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = kParentClass;
  ::RegisterClassA(&wc);
  done = true;
}
}  // namespace

TestParent::TestParent(int width, int height, HFONT font, DWORD style) {
  RegisterParentClass();
  if (font) {
    m_font = font;
  } else {
    // Without antialiasing every text pixel has exactly the text colour, which the tests count.
    m_ownedFont.reset(::CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                    CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH, "Tahoma"));
    m_font = m_ownedFont.get();
  }
  RECT rc = {0, 0, width, height};
  ::AdjustWindowRectEx(&rc, WS_POPUP, FALSE, 0);
  m_hwnd = ::CreateWindowExA(0, kParentClass, "controls", WS_POPUP | style, 40, 40, rc.right - rc.left, rc.bottom - rc.top,
                             nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
  ::SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  ::SetWindowLongPtrA(m_hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TestParent::Proc));
  ::ShowWindow(m_hwnd, SW_SHOWNOACTIVATE);
  ::UpdateWindow(m_hwnd);
  PumpMessages();
}

TestParent::~TestParent() {
  ::DestroyWindow(m_hwnd);
  PumpMessages();
}

HWND TestParent::AddChild(const char* cls, const char* text, DWORD style, int id, int x, int y, int w, int h) {
  HWND child = ::CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, m_hwnd,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleA(nullptr),
                                 nullptr);
  ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
  return child;
}

LRESULT CALLBACK TestParent::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<TestParent*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (self) {
    LRESULT result = 0;
    if (self->onMessage && self->onMessage(hwnd, msg, wParam, lParam, result)) return result;
    switch (msg) {
      case WM_GETFONT:
        return reinterpret_cast<LRESULT>(self->m_font);
      case WM_ERASEBKGND: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        if (self->onErase && self->onErase(dc)) return 1;
        RECT rc;
        ::GetClientRect(hwnd, &rc);
        BrushHandle brush(::CreateSolidBrush(kParentColour));
        ::FillRect(dc, &rc, brush.get());
        return 1;
      }
      case WM_COMMAND: {
        CommandRecord record{LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)};
        self->commands.push_back(record);
        if (self->onCommand) self->onCommand(record);
        return 0;
      }
      default:
        break;
    }
  }
  return ::DefWindowProcA(hwnd, msg, wParam, lParam);
}

long LiveGdiObjects() {
  DWORD counted = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
  if (counted) return static_cast<long>(counted);
  // Freed entries are handed out again before unused ones, and a handle's low word is its entry,
  // so the highest entry the probes get, less their number, tells how many entries are in use.
  const int probes = 6000;
  std::vector<HGDIOBJ> made;
  made.reserve(probes);
  long highest = 0;
  for (int i = 0; i < probes; ++i) {
    HGDIOBJ h = ::CreateSolidBrush(RGB(1, 2, 3));
    if (!h) break;
    made.push_back(h);
    highest = std::max(highest, static_cast<long>(reinterpret_cast<ULONG_PTR>(h) & 0xFFFF));
  }
  for (HGDIOBJ h : made) ::DeleteObject(h);
  return highest + 1 - static_cast<long>(made.size());
}

int ThreadWindowCount() {
  int count = 0;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND, LPARAM p) -> BOOL {
        ++*reinterpret_cast<int*>(p);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  return count;
}
