#include "include/keyinput.h"

namespace {

const BYTE kSideModifiers[] = {VK_LCONTROL, VK_RCONTROL, VK_LSHIFT, VK_RSHIFT,
                               VK_LMENU,    VK_RMENU,    VK_LWIN,   VK_RWIN};

bool IsDown(BYTE vk) { return (::GetAsyncKeyState(vk) & 0x8000) != 0; }

bool AnyModifierDown() {
  for (BYTE vk : kSideModifiers) {
    if (IsDown(vk)) return true;
  }
  return false;
}

DWORD ExtendedFlag(BYTE vk) {
  return (vk == VK_RCONTROL || vk == VK_RMENU || vk == VK_LWIN || vk == VK_RWIN) ? KEYEVENTF_EXTENDEDKEY : 0;
}

void Key(BYTE vk, DWORD flags) {
  ::keybd_event(vk, static_cast<BYTE>(::MapVirtualKeyA(vk, 0)), flags | ExtendedFlag(vk), 0);
}

void LiftHeldModifiers() {
  DWORD start = ::GetTickCount();
  while (AnyModifierDown() && ::GetTickCount() - start < kModifierReleaseWaitMs) ::Sleep(10);
  bool altOrWin = false;
  for (BYTE vk : {VK_LMENU, VK_RMENU, VK_LWIN, VK_RWIN}) altOrWin = altOrWin || IsDown(vk);
  // Alt or Win released on its own opens the window's menu or the Start menu; a key nobody has
  // assigned in between makes the release an ordinary one.
  if (altOrWin) {
    Key(0xE8, 0);
    Key(0xE8, KEYEVENTF_KEYUP);
  }
  for (BYTE vk : kSideModifiers) {
    if (IsDown(vk)) Key(vk, KEYEVENTF_KEYUP);
  }
}

}  // namespace

void SendKeyChord(std::initializer_list<BYTE> modifiers, BYTE key) {
  LiftHeldModifiers();
  for (BYTE m : modifiers) Key(m, 0);
  Key(key, 0);
  Key(key, KEYEVENTF_KEYUP);
  for (auto it = modifiers.end(); it != modifiers.begin();) Key(*--it, KEYEVENTF_KEYUP);
}
