#include "hotkeys/hotkeydlgsupport.h"

#include "app/maindlg.h"
#include "include/controldraw.h"
#include "include/handles.h"
#include "include/miscfuns.h"
#include "language/language.h"

namespace hkdlg {

HIMAGELIST SingleIconList(UINT iconId) {
  ImageListHandle images(::ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1));
  if (!images) return nullptr;
  IconHandle icon(static_cast<HICON>(
      ::LoadImageA(CMiscFuns::ModuleInstance(), MAKEINTRESOURCEA(iconId), IMAGE_ICON, 16, 16, 0)));
  if (icon) ::ImageList_AddIcon(images.get(), icon.get());
  return images.release();
}

void SetUpImageButton(CIconButton& button, HWND dialog, int id, UINT icon, UINT hoverIcon, const char* tooltipKey) {
  constexpr int kIconSize = 16;
  HWND control = ::GetDlgItem(dialog, id);
  button.SubclassWindow(control);
  button.SetCaption("");  // the icon says it; the tooltip names it
  button.SetIcon(icon, kIconSize, kIconSize);
  button.SetHoverIcon(hoverIcon);
  RECT rc = {};
  ::GetClientRect(control, &rc);
  button.m_nIconOffset = (rc.right - kIconSize) / 2;
  button.SetTooltipText(GetLanguageText(tooltipKey));
}

void ShowExclamation(HWND owner, const std::string& key) {
  ::MessageBoxA(owner, GetLanguageText(key).c_str(), ProductCaption().c_str(), MB_ICONEXCLAMATION);
}

std::string ControlText(HWND dialog, int id) { return ctldraw::WindowText(::GetDlgItem(dialog, id)); }

void EnableControl(HWND dialog, int id, bool on) { ::EnableWindow(::GetDlgItem(dialog, id), on ? TRUE : FALSE); }

}  // namespace hkdlg
