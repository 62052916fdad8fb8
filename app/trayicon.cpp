#include "app/trayicon.h"

#include <shellapi.h>

namespace {
template <size_t N>
void CopyBounded(char (&to)[N], const std::string& from) {
  lstrcpynA(to, from.c_str(), static_cast<int>(N));
}
}  // namespace

NOTIFYICONDATAA CTrayIcon::Data(UINT flags) const {
  NOTIFYICONDATAA nid = {};
  nid.cbSize = sizeof nid;
  nid.hWnd = m_owner;
  nid.uID = kTrayIconId;
  nid.uFlags = flags;
  nid.uCallbackMessage = m_callback;
  nid.hIcon = m_icon;
  CopyBounded(nid.szTip, m_tip);
  return nid;
}

bool CTrayIcon::Add(HWND owner, UINT callbackMessage, HICON icon, const std::string& tip) {
  m_owner = owner;
  m_callback = callbackMessage;
  m_icon = icon;
  m_tip = tip;
  return AddAgain();
}

bool CTrayIcon::AddAgain() {
  NOTIFYICONDATAA nid = Data(NIF_MESSAGE | NIF_ICON | NIF_TIP);
  if (::Shell_NotifyIconA(NIM_ADD, &nid)) {
    m_added = true;
  } else {
    // The shell refuses a second add of an icon it still shows. The icon is then in, and it must
    // stay known as ours, or the exit would leave it behind.
    m_added = ::Shell_NotifyIconA(NIM_MODIFY, &nid) != FALSE;
  }
  return m_added;
}

void CTrayIcon::Remove() {
  if (!m_added) return;
  NOTIFYICONDATAA nid = Data(0);
  ::Shell_NotifyIconA(NIM_DELETE, &nid);
  m_added = false;
}

bool CTrayIcon::ShowBalloon(const std::string& title, const std::string& text, UINT timeoutMs) {
  if (!m_added) return false;
  NOTIFYICONDATAA nid = Data(NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO);
  nid.dwInfoFlags = NIIF_INFO;
  nid.uTimeout = timeoutMs;
  CopyBounded(nid.szInfoTitle, title);
  CopyBounded(nid.szInfo, text);
  return ::Shell_NotifyIconA(NIM_MODIFY, &nid) != FALSE;
}
