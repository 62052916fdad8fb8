#include "include/SubclassWnd.h"

namespace {
// The object that holds the window, and the procedure that was there before ours. The second one
// outlives the first when we cannot leave the chain, so the window keeps working.
const char kObjectProp[] = "Quorvel.Subclass";
const char kOldProcProp[] = "Quorvel.Subclass.Old";
}  // namespace

CSubclassWnd::~CSubclassWnd() { Detach(); }

bool CSubclassWnd::Attach(HWND hwnd) {
  if (!hwnd || !::IsWindow(hwnd) || m_hWnd) return false;
  // A window already in a chain of ours (even one whose object has gone) is not taken twice.
  if (::GetPropA(hwnd, kObjectProp) || ::GetPropA(hwnd, kOldProcProp)) return false;
  auto old = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
  if (!old) return false;
  if (!::SetPropA(hwnd, kObjectProp, this)) return false;
  if (!::SetPropA(hwnd, kOldProcProp, reinterpret_cast<HANDLE>(old))) {
    ::RemovePropA(hwnd, kObjectProp);
    return false;
  }
  m_hWnd = hwnd;
  m_oldProc = old;
  ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CSubclassWnd::Thunk));
  return true;
}

void CSubclassWnd::Detach() {
  HWND hwnd = m_hWnd;
  if (!hwnd) return;
  m_hWnd = nullptr;
  if (::IsWindow(hwnd)) {
    ::RemovePropA(hwnd, kObjectProp);
    auto current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
    if (current == &CSubclassWnd::Thunk) {
      ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_oldProc));
      ::RemovePropA(hwnd, kOldProcProp);
    }
  }
  m_oldProc = nullptr;
  OnDetached();
}

LRESULT CSubclassWnd::CallOriginal(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!m_oldProc) return ::DefWindowProcA(m_hWnd, msg, wParam, lParam);
  return ::CallWindowProcA(m_oldProc, m_hWnd, msg, wParam, lParam);
}

LRESULT CALLBACK CSubclassWnd::Thunk(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<CSubclassWnd*>(::GetPropA(hwnd, kObjectProp));
  if (!self) {
    auto old = reinterpret_cast<WNDPROC>(::GetPropA(hwnd, kOldProcProp));
    if (msg == WM_NCDESTROY) ::RemovePropA(hwnd, kOldProcProp);
    return old ? ::CallWindowProcA(old, hwnd, msg, wParam, lParam) : ::DefWindowProcA(hwnd, msg, wParam, lParam);
  }
  LRESULT result = self->WindowProc(msg, wParam, lParam);
  // The object may have let go of the window (or been deleted) while it handled the message; only
  // one that still holds it is detached here.
  if (msg == WM_NCDESTROY && ::GetPropA(hwnd, kObjectProp) == self) self->Detach();
  return result;
}
