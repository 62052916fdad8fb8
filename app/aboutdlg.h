// The modal about box: product name, version and date, the legal notice as a link to the maker's
// page, acknowledgements and where the program lives.
#pragma once

#include <windows.h>

#include <string>

#include "include/BoldTextStatic.h"
#include "include/DialogBase.h"
#include "include/HyperLinkButton.h"
#include "include/handles.h"

// Shown with DoModal(owner); the result is of no interest to the caller.
class CAboutDlg : public CDialogBase {
 public:
  CAboutDlg();

 private:
  INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  BOOL OnInitDialog() override;
  HBRUSH OnControlColour(UINT msg, HDC dc) override;
  void OnCommand(int id, int code) override;
  void FillControls();
  void ShowExeIcon();
  void OnDpiChanged() override { ShowExeIcon(); }

  BrushHandle m_background;
  IconHandle m_exeIcon;  // from ExtractIconA at the window's size; empty when the system icon is shown
  CBoldTextStatic m_version;
  CHyperLinkButton m_legal;
};

// The last-write date of a file in local time as "yyyy.mm.dd"; empty when it cannot be read.
std::string FileDateText(const std::string& path);
