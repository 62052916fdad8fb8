// A static control that paints a decorated background (gradients, rounded fill, bitmap, border,
// etched bottom line), an icon and its text in a bold font. Used for dialog headers.
#pragma once

#include <windows.h>

#include <string>

#include "include/SubclassWnd.h"
#include "include/controlmath.h"
#include "include/handles.h"

class CBoldTextStatic : public CSubclassWnd {
 public:
  CBoldTextStatic() = default;
  ~CBoldTextStatic() override;

  // Takes over the static; its text becomes the text. False when the window is missing or taken.
  bool SubclassWindow(HWND control);
  void UnsubclassWindow() { Detach(); }

  // Makes a bold (weight 700) copy of the control's font, or the dialog font when it has none, and
  // uses it. A `height` other than 0 becomes the copy's LOGFONT lfHeight (a figure at 96 dpi, scaled
  // to the control's). Sizes, margins and insets below are figures at 96 dpi as well.
  bool MakeBoldFont(LONG height = 0);
  HFONT Font() const { return m_font.get(); }

  void SetStyle(DWORD style);  // ctl::BoldStaticStyle bits
  DWORD Style() const { return m_dwStyle; }
  void SetTextColor(COLORREF colour);
  void SetShadow(bool on);
  void SetBackgroundColors(COLORREF a, COLORREF b);
  void SetBorderColor(COLORREF colour);
  void SetCornerSize(int width, int height);
  void SetTextInsets(int x, int y);
  // A background bitmap from a bitmap resource of `module` (the executable when null).
  bool SetBitmap(UINT resourceId, HINSTANCE module = nullptr);
  void SetBitmap(BitmapHandle bitmap);
  // The icon from an icon resource, drawn at width x height; false when it does not load.
  bool SetIcon(UINT resourceId, int width, int height, HINSTANCE module = nullptr);
  void SetIconMargins(int margin, int gap);
  void SetNoPrefix(bool on);
  void SetExtraFormat(UINT format);  // further DT_ flags for the text

  const std::string& Text() const { return m_text; }

 private:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void Paint(HDC dc);
  void Redraw();
  int Px(int value96) const;
  bool PaintsOwnBackground() const;

  std::string m_text;
  SIZE m_szCorner = {10, 10};
  COLORREF m_crText = RGB(0, 0, 0);
  FontHandle m_font;
  bool m_bShadow = false;
  DWORD m_dwStyle = 0;
  COLORREF m_crBackA = RGB(0, 0, 0), m_crBackB = RGB(255, 255, 255);
  COLORREF m_crBorder = RGB(0, 0, 255);
  int m_nInsetX = 0, m_nInsetY = 0;
  BitmapHandle m_bitmap;
  IconHandle m_icon;
  UINT m_iconId = 0;
  HINSTANCE m_iconModule = nullptr;
  int m_nIconWidth = 0, m_nIconHeight = 0;
  int m_nIconMargin = 20, m_nIconGap = 10;
  bool m_bNoPrefix = false;
  UINT m_extraFormat = 0;
  LONG m_boldHeight = 0;  // of the bold font made, 0 for the control's own height
  bool m_bold = false;
  ctl::AccessKeyCues m_cues;
};
