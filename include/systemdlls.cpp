#include "include/systemdlls.h"

namespace {
CLazyDll g_comdlg32("comdlg32.dll");
CLazyDll g_winmm("winmm.dll");
}  // namespace

BOOL ShowOpenFileDialog(OPENFILENAMEA* ofn) {
  auto show = g_comdlg32.Function<decltype(&::GetOpenFileNameA)>("GetOpenFileNameA");
  return show ? show(ofn) : FALSE;
}

BOOL ShowSaveFileDialog(OPENFILENAMEA* ofn) {
  auto show = g_comdlg32.Function<decltype(&::GetSaveFileNameA)>("GetSaveFileNameA");
  return show ? show(ofn) : FALSE;
}

CLazyDll& WinmmDll() { return g_winmm; }

MCIERROR SendMciString(const std::string& command) {
  auto send = g_winmm.Function<decltype(&::mciSendStringA)>("mciSendStringA");
  return send ? send(command.c_str(), nullptr, 0, nullptr) : MCIERR_DEVICE_NOT_INSTALLED;
}

BOOL PlaySoundFile(const std::string& path, UINT flags) {
  auto play = g_winmm.Function<decltype(&::sndPlaySoundA)>("sndPlaySoundA");
  return play ? play(path.c_str(), flags) : FALSE;
}
