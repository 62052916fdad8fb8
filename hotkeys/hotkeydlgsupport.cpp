#include "hotkeys/hotkeydlgsupport.h"

#include "app/maindlg.h"
#include "include/controldraw.h"
#include "include/handles.h"
#include "language/language.h"

namespace hkdlg {

HINSTANCE Instance() { return ::GetModuleHandleA(nullptr); }

HIMAGELIST SingleIconList(UINT iconId) {
  ImageListHandle images(::ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1));
  if (!images) return nullptr;
  IconHandle icon(static_cast<HICON>(::LoadImageA(Instance(), MAKEINTRESOURCEA(iconId), IMAGE_ICON, 16, 16, 0)));
  if (icon) ::ImageList_AddIcon(images.get(), icon.get());
  return images.release();
}

void SetDialogIcon(HWND dialog, UINT iconId) {
  HANDLE icon = ::LoadImageA(Instance(), MAKEINTRESOURCEA(iconId), IMAGE_ICON, ::GetSystemMetrics(SM_CXICON),
                             ::GetSystemMetrics(SM_CYICON), LR_SHARED);
  if (icon) ::SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
}

void ShowExclamation(HWND owner, const std::string& key) { ShowExclamationText(owner, GetLanguageText(key)); }

void ShowExclamationText(HWND owner, const std::string& text) {
  ::MessageBoxA(owner, text.c_str(), ProductCaption().c_str(), MB_ICONEXCLAMATION);
}

std::string ControlText(HWND dialog, int id) { return ctldraw::WindowText(::GetDlgItem(dialog, id)); }

void EnableControl(HWND dialog, int id, bool on) { ::EnableWindow(::GetDlgItem(dialog, id), on ? TRUE : FALSE); }

}  // namespace hkdlg
