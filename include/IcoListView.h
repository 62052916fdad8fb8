// The program's report list: a list view that draws every cell itself, with alternating rows, a
// gradient selection bar with a double frame, grid lines, an optional check box in the first column
// and, from markup inside the cell texts, an icon, a percentage bar and text and background colours
// per cell:
//   "{ICON:n}"  "{PERCENT:n}"  "{TEXTCOLOR:r,g,b}"  "{BKCOLOR:r,g,b}"
// The tags are removed before the text is shown (and before it is sorted). A header click sorts by
// that column.
//
// Typical use in a dialog, whose list has LVS_REPORT | LVS_OWNERDRAWFIXED in the template:
//   m_list.SubclassWindow(GetDlgItem(dlg, 1009));
//   m_list.SetRowHeight(30);
//   m_list.SetCheckBoxes(true);
//   m_list.SetCheckBoxIcons(204, 205);
//   m_list.SetImageList(images, LVSIL_SMALL);
//   m_list.InsertColumn(0, GetLanguageText("L0011"), 170);
//   int row = m_list.AddItem("Ctrl + K", 0, reinterpret_cast<LPARAM>(record));
//   m_list.SetItemText(row, 1, "{TEXTCOLOR:200,0,0}text");
//   m_list.SetCheckState(row, true);
// and at the top of the dialog procedure (draw and measure requests, the header click):
//   LRESULT reflected = 0;
//   if (CIcoListView::HandleParentMessage(dlg, msg, wParam, lParam, reflected)) return reflected;
// The appearance settings below are read at every paint; change them before the list is shown or
// repaint it afterwards. The row height goes through SetRowHeight.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "include/OwnerDrawnListView.h"
#include "include/handles.h"
#include "include/listmarkup.h"

class CIcoListView : public COwnerDrawnListViewCtrl<CIcoListView> {
 public:
  CIcoListView() = default;
  ~CIcoListView() override;

  // ---- appearance; sizes are figures at 96 dpi, scaled to the list's dpi where they are used ----
  int m_nRowHeight = 20;
  COLORREF m_crEvenRow = RGB(255, 255, 255);
  COLORREF m_crOddRow = RGB(240, 240, 240);
  COLORREF m_crSelectedText = RGB(255, 255, 255);
  COLORREF m_crSelectionTop = RGB(50, 100, 255);
  COLORREF m_crSelectionBottom = RGB(50, 100, 255);
  COLORREF m_crSelectionOuterBorder = RGB(50, 100, 255);
  COLORREF m_crSelectionInnerBorder = RGB(50, 100, 255);
  COLORREF m_crText = RGB(0, 0, 0);
  int m_nIconWidth = 16;
  int m_nIconHeight = 16;
  int m_nIconMargin = 3;
  int m_nIconTextGap = 3;
  COLORREF m_crGrid = RGB(220, 220, 220);
  DWORD m_dwGridFlags = lm::Grid::Vertical;
  COLORREF m_crPercentText = RGB(0, 0, 0);
  COLORREF m_crBarFillTop = RGB(132, 0, 100);
  COLORREF m_crBarFillBottom = RGB(28, 129, 1);
  COLORREF m_crBarFillFrameTopLeft = RGB(28, 129, 1);
  COLORREF m_crBarFillFrameBottomRight = RGB(28, 129, 1);
  COLORREF m_crBarTrackTop = RGB(200, 200, 200);
  COLORREF m_crBarTrackBottom = RGB(255, 255, 255);
  COLORREF m_crBarTrackFrameTopLeft = RGB(200, 200, 200);
  COLORREF m_crBarTrackFrameBottomRight = RGB(200, 200, 200);
  int m_nBarInsetX = 5;
  int m_nBarInsetY = 8;
  bool m_bSelectionDrawingOff = false;  // draw selected rows like the others

  // Enter on a selected row goes to the list, which tells its parent (NM_RETURN), instead of to the
  // dialog's default button: for lists whose rows Enter opens.
  void SetEnterOpensRow(bool on) { m_enterOpensRow = on; }

  // Sets the row height and makes the list take it at once.
  void SetRowHeight(int height);
  // Check boxes in the first column (the list view's check-box extended style).
  void SetCheckBoxes(bool on);
  bool HasCheckBoxes() const;
  // The two check box pictures (unchecked, checked); the list owns the image list from now on and
  // draws no box unless it holds exactly two images.
  void SetCheckBoxImages(HIMAGELIST images);
  // The same from two icon resources of `module` (the executable when null), at the icon size.
  bool SetCheckBoxIcons(UINT uncheckedId, UINT checkedId, HINSTANCE module = nullptr);
  HIMAGELIST CheckBoxImages() const { return m_checkImages.get(); }

  // What a cell shows: its text without the markup.
  std::string GetDisplayText(int item, int subItem) const;
  // Sorts by a column as a click on its header does (the direction alternates program-wide).
  void SortByColumn(int column);

  // ---- called by the owner-draw base ----
  void DrawItem(DRAWITEMSTRUCT* dis);
  void MeasureItem(MEASUREITEMSTRUCT* mis);
  bool ProcessReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void OnDetached() override;

 private:
  struct RowContext;
  struct SortContext;
  void OnPaint();
  int Px(int value96) const;
  void OnDpiChanged();
  void DrawCell(HDC dc, const RowContext& row, int column, const RECT& cell, bool first, bool last);
  // The item whose check box lies under the point, or -1.
  int CheckBoxAt(int x, int y) const;
  void ToggleCheck(int item);
  // The selected rows, or the focused one when none is selected.
  void ToggleSelectedChecks();
  bool EnterOpensRow() const { return m_enterOpensRow && GetSelectedIndex() >= 0; }
  void NotifyReturn();
  LRESULT OnClick(UINT msg, WPARAM wParam, LPARAM lParam);
  bool EnsureBackBuffer(HDC reference, int width, int height);
  void ReleaseBackBuffer();
  static int CALLBACK CompareItems(LPARAM first, LPARAM second, LPARAM context);

  ImageListHandle m_checkImages;
  UINT m_checkIconIds[2] = {0, 0};  // the check box icons' resources, when they came from resources
  HINSTANCE m_checkIconModule = nullptr;
  // The back buffer: created on the first paint at the size of the screen and reused.
  MemoryDc m_backDc;
  BitmapHandle m_backBitmap;
  HGDIOBJ m_backOld = nullptr;
  int m_backWidth = 0, m_backHeight = 0;
  WPARAM m_swallowChar = 0;  // the character of a key the list took, which must not search
  bool m_enterOpensRow = false;
  bool m_rekeying = false;  // item data are sort keys for the moment
};
