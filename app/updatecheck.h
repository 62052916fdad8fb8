// The background look for a newer version: one thread, at most a few downloads of the version file
// with a pause between failed ones, a message box when a newer version is announced. It never
// blocks the window: the thread only posts to it, and stopping wakes the pause, closes the box and
// cuts a download under way short.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "include/handles.h"

// Posted to the notify window when a newer version was found; FoundVersion() then holds it.
constexpr UINT kMsgUpdateFound = WM_APP + 0x51;

struct UpdateCheckConfig {
  std::string versionUrl;  // the address the version file is downloaded from
  std::string directUrl;   // a second address of the same file, also removed from the cache
  std::string productName;
  std::string productVersion;
  std::string downloadPage;  // opened when the user answers OK
  DWORD retryMs = 120000;
  int maxAttempts = 10;
};

// Settings.ini keys: UpdateUrl (empty turns the check off) and UpdateRetryMs.
UpdateCheckConfig UpdateConfigFromSettings(const std::string& settingsIni);

class CUpdateCheck {
 public:
  CUpdateCheck() = default;
  CUpdateCheck(const CUpdateCheck&) = delete;
  CUpdateCheck& operator=(const CUpdateCheck&) = delete;
  ~CUpdateCheck();

  // Starts the thread unless one was started already; false when it cannot start (or the address
  // is empty).
  bool Start(HWND notify, const UpdateCheckConfig& config);
  // Wakes the thread, closes its message box, cancels its download and waits at most `ms` for it
  // to end. True when it has ended (or never ran).
  bool Stop(DWORD ms);
  bool Running() const;
  bool WaitFinished(DWORD ms) const;
  int Attempts() const;
  DWORD ThreadId() const { return m_threadId; }
  // The announced version, once kMsgUpdateFound was posted.
  std::string FoundVersion() const;

  struct State;

 private:
  std::shared_ptr<State> m_state;
  KernelHandle m_thread;
  DWORD m_threadId = 0;
};
