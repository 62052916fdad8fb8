// The popup in which the user picks a predefined text to paste. It never takes the focus, so the
// paste lands in the window the user was working in. It owns itself and goes with its window.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "include/dpi.h"
#include "include/handles.h"
#include "include/xml.h"

constexpr char kSelectorWindowClass[] = "PredefinedTextSelectorWindow-{04D21C97-6584-4015-81BB-5B4C63C28B7C}";
constexpr int kSelectorTreeId = 8537;
constexpr int kSelectorPreviewId = 8538;
constexpr int kSelectorPreviewWidth = 300;  // at 96 dpi

class CPredefinedTextSelectorWindow {
 public:
  // Re-centres the open popup, or builds a new one from the file as it is now.
  static void Open(HWND owner);

  CPredefinedTextSelectorWindow(const CPredefinedTextSelectorWindow&) = delete;
  CPredefinedTextSelectorWindow& operator=(const CPredefinedTextSelectorWindow&) = delete;
  ~CPredefinedTextSelectorWindow();

 private:
  CPredefinedTextSelectorWindow();
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

  void OnCreate();
  void OnSize(int width, int height);
  // The tree's icons and item height, the preview's font and width, at the window's dpi.
  void ScaleChildren();
  LRESULT OnNotify(const NMHDR& hdr);
  void OnSelectionChanged(const NMTREEVIEWA& nm);
  void ShowPreview(HTREEITEM item);
  void OnDoubleClick();
  void InsertChosen();
  void Centre();

  HWND m_hWnd = nullptr;
  CXmlDocument m_doc;
  HWND m_tree = nullptr, m_preview = nullptr;  // children: destroyed with the window
  HIMAGELIST m_images = nullptr;
  FontHandle m_font;
  dpi::CDpiFonts m_dpiFonts;
  xml::NodePtr m_chosen;  // the entry a double-click picked, until the paste runs
  bool m_filling = false;  // while the tree is filled
};
