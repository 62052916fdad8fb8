// A list-view control in owner-drawn report mode, taken over by an object of the program.
//
// The list view sends its draw and measure requests and its notifications to its parent, so the
// parent hands them back: one call at the top of the parent's window or dialog procedure serves every
// such list it holds.
//
//   INT_PTR CMyDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
//     LRESULT reflected = 0;
//     if (CListViewWindow::HandleParentMessage(m_hWnd, msg, wParam, lParam, reflected)) return reflected;
//     ...
//
// COwnerDraw<T> turns the reflected draw-item and measure-item requests into calls of T::DrawItem and
// T::MeasureItem; COwnerDrawnListViewCtrl<T> joins it to the list-view window.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "include/SubclassWnd.h"

// The list-view side: the subclassing, the link from the window back to its object, and thin
// wrappers of the list-view messages in terms of std::string.
class CListViewWindow : public CSubclassWnd {
 public:
  CListViewWindow() = default;
  ~CListViewWindow() override;

  // For the parent: true when `msg` was a draw or measure request or a notification of a list held
  // by one of these objects and that object handled it; `result` is then the answer (TRUE for the
  // requests, which a dialog procedure returns as it is; the notifications handled need none).
  static bool HandleParentMessage(HWND parent, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // The object that holds this list-view window, or null.
  static CListViewWindow* FromHandle(HWND hwnd);

  int GetItemCount() const;
  int GetColumnCount() const;
  HWND GetHeader() const;
  // Returns the new column's index, or -1. The width is a figure at 96 dpi, scaled as the list's
  // dialog is (dpi::ScaledAsDialog).
  int InsertColumn(int index, const std::string& heading, int width, int format = LVCFMT_LEFT);
  // After a change of the list's dpi: every column's width by the ratio of the dpis.
  void RescaleColumns();
  // The LVCFMT_ alignment bits of a column (LVCFMT_LEFT for a missing one).
  int GetColumnFormat(int column) const;
  int GetColumnWidth(int column) const;
  // Returns the new item's index, or -1. I_IMAGENONE leaves the item without an image of its own.
  int InsertItem(int index, const std::string& text, int image = I_IMAGENONE, LPARAM data = 0);
  int AddItem(const std::string& text, int image = I_IMAGENONE, LPARAM data = 0) {
    return InsertItem(GetItemCount(), text, image, data);
  }
  bool SetItemText(int item, int subItem, const std::string& text);
  // The whole text, however long; empty for a missing item.
  std::string GetItemText(int item, int subItem) const;
  LPARAM GetItemData(int item) const;
  bool SetItemData(int item, LPARAM data);
  // The item's own image index (I_IMAGENONE when it has none or is missing).
  int GetItemImage(int item) const;
  UINT GetItemState(int item, UINT mask) const;
  bool SetItemState(int item, UINT state, UINT mask);
  // The check box lives in the state image: 1 unchecked, 2 checked.
  bool GetCheckState(int item) const;
  bool SetCheckState(int item, bool checked);
  // The first selected item, or -1.
  int GetSelectedIndex() const;
  // Selects and focuses `item` alone; -1 clears the selection.
  bool SelectItem(int item);
  bool DeleteItem(int item);
  bool DeleteAllItems();
  DWORD GetExtendedStyle() const;
  void SetExtendedStyle(DWORD mask, DWORD style);
  // The list view keeps (and, without LVS_SHAREIMAGELISTS, destroys) the image list it is given.
  HIMAGELIST SetImageList(HIMAGELIST images, int which = LVSIL_SMALL);
  HIMAGELIST GetImageList(int which = LVSIL_SMALL) const;

 protected:
  // Takes over `list` and links it to this object; false for a window that is no list view or is
  // held already.
  bool AttachList(HWND list);
  // A reflected parent message for this list; true when handled.
  virtual bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
  void OnDetached() override;
  LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageA(hwnd(), msg, wParam, lParam);
  }
  // Makes the list view ask its parent for the row height again.
  void Remeasure();

 private:
  HWND m_linked = nullptr;  // the window that carries our link, kept past the base's detach
  int m_columnsDpi = 0;     // the dpi the columns' widths are at
};

template <typename T>
class COwnerDraw {
 public:
  // Draw-item and measure-item go to T; compare-item and delete-item are left unhandled.
  bool ProcessOwnerDraw(UINT msg, WPARAM /*wParam*/, LPARAM lParam, LRESULT& result) {
    T* self = static_cast<T*>(this);
    switch (msg) {
      case WM_DRAWITEM:
        self->DrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        result = TRUE;
        return true;
      case WM_MEASUREITEM:
        self->MeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
        result = TRUE;
        return true;
      default:
        return false;
    }
  }
  void DrawItem(DRAWITEMSTRUCT*) {}
  void MeasureItem(MEASUREITEMSTRUCT*) {}
};

template <typename T>
class COwnerDrawnListViewCtrl : public CListViewWindow, public COwnerDraw<T> {
 public:
  // Takes over a list view of the parent (a dialog's, say), which must be in report mode with the
  // owner-draw-fixed style; false otherwise, or when it is held already.
  bool SubclassWindow(HWND list) {
    if (!list || !::IsWindow(list)) return false;
    LONG_PTR style = ::GetWindowLongPtrA(list, GWL_STYLE);
    if ((style & LVS_TYPEMASK) != LVS_REPORT || !(style & LVS_OWNERDRAWFIXED)) return false;
    if (!AttachList(list)) return false;
    // The list measured its rows before we were there to answer.
    Remeasure();
    return true;
  }
  // Creates the list view as a child of `parent` (report mode and owner-draw-fixed are added) with
  // the parent's font, and takes it over. Null on failure.
  HWND Create(HWND parent, int id, const RECT& rc,
              DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_SHOWSELALWAYS | LVS_SINGLESEL,
              DWORD exStyle = 0) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&icc);
    HWND list =
        ::CreateWindowExA(exStyle, WC_LISTVIEWA, "", style | WS_CHILD | LVS_REPORT | LVS_OWNERDRAWFIXED, rc.left,
                          rc.top, rc.right - rc.left, rc.bottom - rc.top, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleA(nullptr), nullptr);
    if (!list) return nullptr;
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(parent, WM_GETFONT, 0, 0));
    if (!font) font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    ::SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (!SubclassWindow(list)) {
      ::DestroyWindow(list);
      return nullptr;
    }
    return list;
  }
  // Gives the list view its own procedure back (also done by the destructor and on destruction).
  void UnsubclassWindow() { Detach(); }

 protected:
  // Hook for T, ahead of the owner-draw base: reflected messages T handles itself.
  bool ProcessReflected(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

  bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (static_cast<T*>(this)->ProcessReflected(msg, wParam, lParam, result)) return true;
    return this->ProcessOwnerDraw(msg, wParam, lParam, result);
  }
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override { return CallOriginal(msg, wParam, lParam); }
};
