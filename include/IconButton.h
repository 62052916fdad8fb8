// The program's skinned push button. It takes over a dialog's button and paints every state itself:
// drawn mode (gradient, border, optional rounded corners) or picture mode (one picture per state over
// a copy of the parent's pixels), with an icon, a bold caption and an optional description line on
// top; tooltip, hand cursor and hover tracking included.
//
// Typical use, right after the dialog is created:
//   m_ok.SubclassWindow(GetDlgItem(dlg, IDOK));
//   m_ok.SetIcon(237, 48, 48);
//   m_ok.m_dwStyle |= ctl::IconButtonStyle::Vertical;
//   m_ok.m_crCaption = RGB(75, 0, 100);
//   m_ok.SetTooltipText(GetLanguageText("L0099"));
// The settings below are read at every paint; call Repaint() after changing them on a visible button.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "include/Picture.h"
#include "include/SubclassWnd.h"
#include "include/controlmath.h"
#include "include/handles.h"

class CIconButton : public CSubclassWnd {
 public:
  // Called with 1 on every mouse move over the button and 0 when the mouse leaves it.
  using HoverCallback = void (*)(int hovering, CIconButton* button, LPARAM user);

  // One look's colours (drawn mode).
  struct ColorSet {
    COLORREF gradientTop, gradientBottom, border, border2, surround, innerBorder;
  };

  CIconButton();
  ~CIconButton() override;

  // Takes over the button: owner-draw style, caption from its text, fonts from the parent's font,
  // the initial settings, the tooltip. False when the window is missing or already taken.
  bool SubclassWindow(HWND button);
  // Gives the button back its own procedure (also done by the destructor and when it is destroyed).
  void UnsubclassWindow() { Detach(); }

  // Picture mode's four state pictures (PNG or whatever GDI+ reads). A path that is empty or names
  // no file leaves that state without a picture. True when the normal picture loaded.
  bool SetPictures(const std::string& normal, const std::string& hover, const std::string& pressed,
                   const std::string& disabled);
  bool HasPicture(ctl::Look look) const;
  // Resizes the client area to the normal picture's size, a picture drawn for `pictureDpi`, at the
  // window's dpi (again after each change of dpi), and repaints; false without one.
  bool SizeToPicture(int pictureDpi = 96);

  void SetTooltipText(const std::string& text);
  // Null until the first mouse message over the button, which creates the tooltip.
  HWND tooltip() const { return m_tooltip.get(); }

  // Icons from icon resources of `module` (the executable when null), drawn at width x height
  // (0 keeps the current icon size). False when the resource does not load; the slot is then empty.
  bool SetIcon(UINT resourceId, int width = 0, int height = 0, HINSTANCE module = nullptr);
  bool SetHoverIcon(UINT resourceId, HINSTANCE module = nullptr);
  bool SetPressedIcon(UINT resourceId, HINSTANCE module = nullptr);
  bool SetDisabledIcon(UINT resourceId, HINSTANCE module = nullptr);
  // Takes ownership of `icon` for the normal slot; null leaves the button without any icon.
  void SetIconHandle(HICON icon, int width = 0, int height = 0);
  bool HasIcon() const { return m_icons[ctl::LookNormal].icon != nullptr; }
  UINT IconResourceId() const { return m_icons[ctl::LookNormal].resourceId; }

  void SetCaption(const std::string& caption);
  const std::string& Caption() const { return m_caption; }
  void SetDescription(const std::string& description);
  const std::string& Description() const { return m_description; }

  // Replace the fonts; each also makes its underlined hover twin.
  void SetCaptionFont(const LOGFONTA& font);
  void SetDescriptionFont(const LOGFONTA& font);
  HFONT CaptionFont() const { return m_captionFont.get(); }
  HFONT CaptionHoverFont() const { return m_captionHoverFont.get(); }
  HFONT DescriptionFont() const { return m_descriptionFont.get(); }

  void SetHoverCallback(HoverCallback callback, LPARAM user) {
    m_hoverCallback = callback;
    m_hoverUser = user;
  }

  // Hover, focused and pressed bits (ctl::ButtonTracker).
  unsigned State() const { return m_tracker.bits(); }
  void Repaint();

  // ---- settings, read at each paint; sizes and offsets are figures at 96 dpi ----
  DWORD m_dwStyle = ctl::IconButtonStyle::Default;  // ctl::IconButtonStyle bits
  COLORREF m_crCaption = RGB(0, 0, 0);
  COLORREF m_crDescription = RGB(0, 0, 0);
  COLORREF m_crDisabledText = RGB(192, 192, 192);
  COLORREF m_crHoverText = RGB(255, 0, 0);
  POINT m_ptText = {-1, -1};  // both 0 or more: the caption starts here
  int m_nIconOffset = 20;     // from the left edge, or the top edge in the vertical layout
  int m_nIconWidth = 32, m_nIconHeight = 32;
  int m_nTextGap = 10;         // icon to caption
  int m_nDescriptionGap = 3;   // middle line to description
  SIZE m_szCorner = {4, 4};    // rounded corner width and height
  ColorSet m_colors[ctl::LookCount];
  HCURSOR m_hHandCursor = nullptr;  // a shared system cursor, not owned
  bool m_bNoPrefix = false;
  // A letter typed while this button has the focus goes nowhere, where the dialog would take it for
  // an access key: set on every button of a dialog whose clicks no stray key may cause, its access
  // keys then need Alt.
  bool m_bAccessKeyNeedsAlt = false;

 private:
  struct IconSlot {
    IconHandle owned;
    HICON icon = nullptr;  // owned.get(), or a shared system icon
    UINT resourceId = 0;
    HINSTANCE module = nullptr;
  };
  // A memory DC with its bitmap; the DC's first bitmap is put back before either goes.
  struct Buffer {
    MemoryDc dc;
    BitmapHandle bitmap;
    HGDIOBJ oldBitmap = nullptr;
    int width = 0, height = 0;
    ~Buffer() { Reset(); }
    void Reset();
    bool Make(HDC like, int w, int h);
  };

  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void OnDetached() override;

  void ResetSettings();
  void MakeFonts();
  void CreateTooltip();
  void RelayToTooltip(UINT msg, WPARAM wParam, LPARAM lParam);
  void Apply(const ctl::ButtonTracker::Effect& effect);
  // Sends the button's command to its parent, which may destroy the button meanwhile.
  void Click();
  bool SetStateIcon(ctl::Look look, UINT resourceId, HINSTANCE module);
  void DiscardBuffers();
  // A 96-dpi figure at the button's dpi.
  int Px(int value96) const;
  void OnDpiChanged();

  void Paint(HDC target);
  bool EnsureParentBackground();
  void DrawColours(HDC dc, int w, int h, const ColorSet& colours);
  void DrawLayer(HDC dc, int w, int h, const ctl::BackgroundLayer& layer);
  void DrawIcon(HDC dc, const RECT& rc, ctl::Look slot);

  std::string m_caption, m_description, m_tooltipText;
  FontHandle m_captionFont, m_captionHoverFont, m_descriptionFont, m_descriptionHoverFont;
  IconSlot m_icons[ctl::LookCount];
  CPicture m_pImgNormal, m_pImgHover, m_pImgPressed, m_pImgDisabled;
  WindowHandle m_tooltip;
  Buffer m_back, m_parentBack;
  bool m_haveParentBack = false;
  ctl::ButtonTracker m_tracker;
  ctl::AccessKeyCues m_cues;
  HoverCallback m_hoverCallback = nullptr;
  LPARAM m_hoverUser = 0;
  int m_pictureDpi = 0;  // sized to its picture, drawn for this dpi
  bool m_customFonts = false, m_makingFonts = false;
};
