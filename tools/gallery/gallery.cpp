// Every control in its looks, the way the program uses them, written as pictures to look at:
// tools/gallery.sh builds and runs this and names the files.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "include/BoldTextStatic.h"
#include "include/ConvertComboBox.h"
#include "include/GradientLineStatic.h"
#include "include/HyperLinkButton.h"
#include "include/IcoListView.h"
#include "include/IconButton.h"
#include "include/controldraw.h"
#include "include/handles.h"
#include "tests/include/controls_support.h"

namespace S = ctl::IconButtonStyle;

namespace {

void Need(bool ok) {
  if (!ok) {
    std::fprintf(stderr, "gallery: a control could not be set up\n");
    std::exit(1);
  }
}

LPARAM At(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

std::string ProgramPicture(const std::string& name) { return std::string(QUORVEL_PROGRAM_DIR) + "\\pictures\\" + name; }

bool Save(HWND window, const std::string& path) {
  Pixels px = ScreenPixels(window);
  bool saved = WritePng(path, px.width, px.height, [&](int x, int y) {
    return 0xFF000000u | px.bgra[static_cast<size_t>(y) * static_cast<size_t>(px.width) + static_cast<size_t>(x)];
  });
  std::printf("%s %s\n", saved ? "wrote" : "could not write", path.c_str());
  return saved;
}

// Buttons, headers, lines, links and the language list over the main window's skin.
bool ControlsGallery(const std::string& path) {
  namespace B = ctl::BoldStaticStyle;
  HFONT font = ::CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, "Tahoma");
  FontHandle fontOwner(font);
  TestParent parent(760, 560, font);
  BitmapHandle skin(static_cast<HBITMAP>(
      ::LoadImageA(nullptr, ProgramPicture("mainUI.bmp").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
  Need(skin.get() != nullptr);
  parent.onErase = [&](HDC dc) {
    BITMAP bm = {};
    ::GetObjectA(skin.get(), sizeof(bm), &bm);
    RECT rc;
    ::GetClientRect(parent.hwnd(), &rc);
    MemoryDc src(::CreateCompatibleDC(dc));
    SelectedObject sel(src.get(), skin.get());
    ::SetStretchBltMode(dc, HALFTONE);
    ::StretchBlt(dc, 0, 0, rc.right, rc.bottom, src.get(), 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
    // A purple band like the shutdown dialog's, for its buttons.
    RECT band = {20, 330, 740, 470};
    ctldraw::FillSolid(dc, band, RGB(115, 39, 148));
    return true;
  };
  std::vector<std::unique_ptr<CIconButton>> buttons;
  auto button = [&](const char* text, int id, int x, int y, int w, int h) {
    HWND hb = parent.AddChild("BUTTON", text, BS_PUSHBUTTON, id, x, y, w, h);
    buttons.push_back(std::make_unique<CIconButton>());
    Need(buttons.back()->SubclassWindow(hb));
    return buttons.back().get();
  };
  // Caption buttons on the header band.
  CIconButton* minimize = button("", 1052, 680, 8, 32, 24);
  minimize->SetPictures(ProgramPicture("minimizebox-normal.png"), ProgramPicture("minimizebox-hover.png"),
                        ProgramPicture("minimizebox-pressed.png"), "");
  CIconButton* close = button("", 1071, 714, 8, 32, 24);
  close->SetPictures(ProgramPicture("closebox-normal.png"), ProgramPicture("closebox-hover.png"),
                     ProgramPicture("closebox-pressed.png"), "");
  for (CIconButton* b : {minimize, close}) {
    b->SetIconHandle(nullptr);
    b->m_dwStyle = S::Picture | S::HandCursor;
    b->SizeToPicture();
  }
  CIconButton* options = button("Options", 1070, 24, 16, 110, 32);
  options->SetIcon(247, 20, 20);
  options->m_nIconOffset = 8;
  options->m_nTextGap = 6;
  options->m_crCaption = RGB(230, 236, 245);
  options->m_dwStyle = S::HandCursor | S::HoverTextColour | S::UnderlineCaption;
  options->m_crHoverText = RGB(255, 255, 255);
  // The large command buttons.
  struct Large {
    const char* caption;
    const char* line;
    UINT icon;
  } large[] = {{"Add hotkey", "Bind a new key combination", 249},
               {"Manage hotkeys", "Edit or remove hotkeys", 250},
               {"Text shortcuts", "Texts to insert anywhere", 225},
               {"Export", "Save hotkeys to a file", 251},
               {"Import", "Load hotkeys from a file", 252}};
  int i = 0;
  for (const Large& l : large) {
    int x = 24 + (i % 3) * 244, y = 90 + (i / 3) * 84;
    CIconButton* b = button(l.caption, 1074 + i, x, y, 236, 72);
    b->SetPictures(ProgramPicture("btn-style1.png"), ProgramPicture("btn-style1-hover.png"),
                   ProgramPicture("btn-style1-pressed.png"), "");
    b->m_dwStyle = S::Picture | S::HandCursor;
    b->SetIcon(l.icon, 48, 48);
    b->m_nIconOffset = 14;
    b->m_nTextGap = 12;
    b->m_crCaption = RGB(27, 42, 74);
    b->m_crDescription = RGB(90, 107, 133);
    b->SetDescription(l.line);
    ++i;
  }
  ::SendMessageA(buttons[4]->hwnd(), WM_MOUSEMOVE, 0, At(10, 10));  // "Manage hotkeys" under the mouse
  ::SendMessageA(close->hwnd(), WM_MOUSEMOVE, 0, At(3, 3));
  ::EnableWindow(buttons[6]->hwnd(), FALSE);                        // "Export" disabled
  // Small drawn buttons.
  UINT small[][2] = {{206, 208}, {207, 209}, {213, 214}, {215, 212}, {232, 232}, {233, 233}};
  i = 0;
  for (auto& ids : small) {
    CIconButton* b = button("", 1100 + i, 560 + i * 28, 274, 24, 24);
    b->SetIcon(ids[0], 16, 16);
    b->SetHoverIcon(ids[1]);
    b->m_nIconOffset = 4;
    b->m_dwStyle = S::NormalBack | S::HoverBack | S::PressedBack | S::Rounded | S::HandCursor;
    ++i;
  }
  ::SendMessageA(buttons[buttons.size() - 6]->hwnd(), WM_MOUSEMOVE, 0, At(3, 3));
  // Shutdown dialog buttons in the vertical layout.
  UINT shut[] = {237, 236, 238, 235, 234};
  const char* shutText[] = {"Shut down", "Restart", "Sleep", "Log off", "Hibernate"};
  for (int k = 0; k < 5; ++k) {
    CIconButton* b = button(shutText[k], 1200 + k, 130 + k * 96, 350, 88, 96);
    b->SetIcon(shut[k], 48, 48);
    b->m_dwStyle = S::HoverBack | S::PressedBack | S::Vertical | S::HandCursor | S::Rounded;
    b->m_nIconOffset = 10;
    b->m_nTextGap = 6;
    b->m_crCaption = RGB(255, 255, 255);
    for (auto look : {ctl::LookHover, ctl::LookPressed}) {
      b->m_colors[look] = CIconButton::ColorSet{RGB(150, 80, 185), RGB(125, 50, 160), RGB(170, 110, 200),
                                                RGB(90, 20, 120), RGB(115, 39, 148), RGB(255, 255, 255)};
    }
  }
  ::SendMessageA(buttons[buttons.size() - 4]->hwnd(), WM_MOUSEMOVE, 0, At(3, 3));
  CIconButton* shutClose = button("", 2, 708, 336, 26, 24);
  shutClose->SetIcon(239, 16, 16);
  shutClose->m_nIconOffset = 5;
  shutClose->m_dwStyle = 0;
  shutClose->SetTooltipText("Close");
  // Headers, separator, link, combo box.
  CBoldTextStatic header, statsHeader, purpleHeader;
  Need(header.SubclassWindow(parent.AddChild("STATIC", "Quorvel hotkeys", SS_LEFT, 1023, 170, 16, 300, 36)));
  header.MakeBoldFont(-20);
  header.SetTextColor(RGB(255, 255, 255));
  header.SetIcon(216, 32, 32);
  header.SetIconMargins(2, 8);
  header.SetStyle(B::IconLeft);
  ::SetWindowLongPtrA(header.hwnd(), GWL_STYLE, ::GetWindowLongPtrA(header.hwnd(), GWL_STYLE) | SS_CENTERIMAGE);
  Need(statsHeader.SubclassWindow(parent.AddChild("STATIC", "Statistics", SS_LEFT, 1073, 24, 262, 240, 24)));
  statsHeader.MakeBoldFont();
  statsHeader.SetStyle(B::HorizontalGradient | B::EtchedBottom);
  statsHeader.SetBackgroundColors(RGB(210, 224, 245), RGB(243, 246, 250));
  statsHeader.SetTextInsets(6, 4);
  statsHeader.SetTextColor(RGB(27, 42, 74));
  Need(purpleHeader.SubclassWindow(parent.AddChild("STATIC", "What would you like the computer to do?",
                                                      SS_CENTER, 1024, 40, 334, 660, 16)));
  purpleHeader.MakeBoldFont();
  purpleHeader.SetTextColor(RGB(255, 255, 255));
  CGradientLineStatic separator;
  Need(separator.SubclassWindow(parent.AddChild("STATIC", "", SS_LEFT, 1077, 24, 300, 500, 2)));
  separator.SetColors(RGB(0, 0, 0), RGB(255, 255, 255));
  separator.SetStyle(ctl::GradientLineStyle::HorizontalMirror);
  CGradientLineStatic vertical;
  Need(vertical.SubclassWindow(parent.AddChild("STATIC", "", SS_LEFT, 1078, 540, 262, 8, 50)));
  vertical.SetColors(RGB(61, 123, 217), RGB(243, 246, 250));
  vertical.SetStyle(ctl::GradientLineStyle::Vertical);
  CHyperLinkButton link, hoverLink;
  Need(link.SubclassWindow(parent.AddChild("BUTTON", "Quorvel Team", BS_PUSHBUTTON | BS_LEFT, 1082, 24, 530,
                                              160, 20)));
  link.m_crLink = RGB(150, 190, 255);
  link.m_crHover = RGB(255, 255, 255);
  Need(hoverLink.SubclassWindow(parent.AddChild("BUTTON", "Visit the web page", BS_PUSHBUTTON | BS_LEFT, 1083,
                                                   280, 310, 160, 18)));
  ::SendMessageA(hoverLink.hwnd(), WM_MOUSEMOVE, 0, At(3, 3));
  CConvertComboBox combo;
  Need(combo.SubclassWindow(parent.AddChild("COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL, 1021, 24, 300 + 10,
                                               200, 120)));
  combo.AddItem("English.txt", "English");
  combo.AddItem("Deutsch.txt", "Deutsch");
  ::SetWindowTextA(combo.hwnd(), "deutsch");
  CBoldTextStatic version;
  Need(version.SubclassWindow(parent.AddChild("STATIC", "v1.0", SS_RIGHT, 1072, 600, 530, 140, 18)));
  version.SetTextColor(RGB(200, 200, 200));

  return Save(parent.hwnd(), path);
}

// A list with every kind of cell: markup colours, icons, percentage bars, check boxes, a selection.
bool ListGallery(const std::string& path) {
  TestParent parent(560, 300);
  parent.onMessage = [](HWND w, UINT m, WPARAM wp, LPARAM lp, LRESULT& r) {
    return CIcoListView::HandleParentMessage(w, m, wp, lp, r);
  };
  CIcoListView list;
  HWND h = list.Create(parent.hwnd(), 1009, RECT{10, 10, 550, 290});
  Need(h);
  list.SetRowHeight(30);
  list.SetCheckBoxes(true);
  list.SetCheckBoxIcons(204, 205);
  HIMAGELIST images = ::ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 3, 0);
  for (UINT id : {203u, 210u, 240u}) {
    IconHandle icon(
        static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, 0)));
    ::ImageList_AddIcon(images, icon.get());
  }
  list.SetImageList(images, LVSIL_SMALL);
  list.InsertColumn(0, "Hotkey", 170);
  list.InsertColumn(1, "Description", 190);
  list.InsertColumn(2, "Progress", 160, LVCFMT_RIGHT);
  const char* rows[][3] = {
      {"Win + N", "Open the notes folder", "{PERCENT:40}"},
      {"Ctrl + Alt + K", "{TEXTCOLOR:200,0,0}Red text", "{ICON:1}12"},
      {"Shift + F4", "{BKCOLOR:255,240,200}{ICON:2}Eject the tray", "{PERCENT:100}"},
      {"Win + Space", "Selected row", "{PERCENT:75}"},
      {"{ICON:9}Alt + X", "{TEXTCOLOR:1,2}two components", "{PERCENT:0}"},
      {"Ctrl + Shift + Q", "{ICON:2unterminated", "3.5"},
  };
  for (auto& r : rows) {
    int row = list.AddItem(r[0], 0);
    list.SetItemText(row, 1, r[1]);
    list.SetItemText(row, 2, r[2]);
    list.SetCheckState(row, row % 2 == 0);
  }
  list.SelectItem(3);
  ::SetFocus(h);
  return Save(parent.hwnd(), path);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: quorvel_gallery FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  ::CreateDirectoryA(folder.c_str(), nullptr);
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&icc);
  GdiplusFixture gdiplus;
  Need(gdiplus.started());
  bool ok = ControlsGallery(folder + "\\controls.png");
  ok = ListGallery(folder + "\\listview.png") && ok;
  return ok ? 0 : 1;
}
