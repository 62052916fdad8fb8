// The program's icon in the notification area.
#pragma once

#include <windows.h>

#include <string>

class CTrayIcon {
 public:
  CTrayIcon() = default;
  CTrayIcon(const CTrayIcon&) = delete;
  CTrayIcon& operator=(const CTrayIcon&) = delete;
  ~CTrayIcon() { Remove(); }

  // Adds the icon for `owner`, which gets `callbackMessage` with the mouse message in lParam.
  bool Add(HWND owner, UINT callbackMessage, HICON icon, const std::string& tip);
  // Adds it again with the same data (the taskbar was recreated, or the first try failed). True
  // when the icon is in afterwards, also when the shell still had it.
  bool AddAgain();
  void Remove();
  bool ShowBalloon(const std::string& title, const std::string& text, UINT timeoutMs);
  bool added() const { return m_added; }

 private:
  NOTIFYICONDATAA Data(UINT flags) const;

  HWND m_owner = nullptr;
  UINT m_callback = 0;
  HICON m_icon = nullptr;  // a shared resource icon: not ours to destroy
  std::string m_tip;
  bool m_added = false;
};

constexpr UINT kTrayIconId = 128;
