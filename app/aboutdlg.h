// The modal about box: product name, version and date, the legal notice as a link to the maker's
// page, acknowledgements and where the program lives.
#pragma once

#include <windows.h>

#include <string>

#include "include/BoldTextStatic.h"
#include "include/HyperLinkButton.h"
#include "include/handles.h"

class CAboutDlg {
 public:
  CAboutDlg() = default;
  CAboutDlg(const CAboutDlg&) = delete;
  CAboutDlg& operator=(const CAboutDlg&) = delete;
  ~CAboutDlg();

  // Shows the box modally over `owner`; the result is of no interest to the caller.
  INT_PTR DoModal(HWND owner);
  HWND hwnd() const { return m_hWnd; }

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  BOOL OnInitDialog();
  void CenterOverOwner();
  void FillControls();
  void OnCommand(int id);

  HWND m_hWnd = nullptr;
  BrushHandle m_background;
  IconHandle m_exeIcon;  // from ExtractIconA; empty when the system icon is shown
  CBoldTextStatic m_version;
  CHyperLinkButton m_legal;
};

// The last-write date of a file in local time as "yyyy.mm.dd"; empty when it cannot be read.
std::string FileDateText(const std::string& path);
