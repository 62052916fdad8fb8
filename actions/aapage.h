// The pages of the action editor: modeless child dialogs, one per entry of the kind list, each
// showing the inputs of one kind of action. A page hands the dialog the texts its line is built
// from and says which control holds each of them; the checks and the line itself are plain
// functions (actions/actioneditor.h).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "include/DialogBase.h"

class CAddActionPage : public CDialogBase {
 public:
  explicit CAddActionPage(UINT templateId) : CDialogBase(templateId) {}

  // Creates the page hidden as a child of `parent`, translated and filled. Null on failure.
  HWND Create(HWND parent);

  // The texts the line is built from, in the order the line takes them.
  virtual std::vector<std::string> Fields() const { return {}; }
  // Moves the focus to the control of a field; the whole text of an edit is selected.
  void FocusField(int field) const;

 protected:
  virtual void OnInitPage() {}
  // A command from a control of the page; true when handled.
  virtual bool OnCommand(int /*id*/, int /*code*/) { return false; }
  // The control of a field (FocusField); 0 when there is none.
  virtual int FieldControl(int /*field*/) const { return 0; }

  std::string ControlText(int id) const;
  void SetControlText(int id, const std::string& text) const;
  HWND Control(int id) const { return ::GetDlgItem(m_hWnd, id); }

 private:
  INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

// The pages of the kinds without parameters: a disabled list with one entry saying so.
class CAddActionPage_NoParameters : public CAddActionPage {
 public:
  using CAddActionPage::CAddActionPage;

 protected:
  void OnInitPage() override;
};

// The volume up and down pages: the step, 1 to 20, chosen or typed; 5 at first.
class CAddActionPage_VolumeStep : public CAddActionPage {
 public:
  using CAddActionPage::CAddActionPage;
  std::vector<std::string> Fields() const override;

 protected:
  void OnInitPage() override;
  int FieldControl(int field) const override;
};

// The disc tray pages (open, close): one entry per CD-ROM drive ("D:"), the first selected.
class CAddActionPage_Drive : public CAddActionPage {
 public:
  CAddActionPage_Drive(UINT templateId, std::vector<std::string> drives);
  std::vector<std::string> Fields() const override;

 protected:
  void OnInitPage() override;
  int FieldControl(int field) const override;

 private:
  std::vector<std::string> m_drives;
};

// Fills a combo box with the numbers first..last as text.
void AddNumberEntries(HWND combo, int first, int last);
// The volume steps 1 to 20, with 5 selected.
void FillVolumeStepList(HWND combo);
// One entry per drive, the first selected (none when there are no drives).
void FillDriveList(HWND combo, const std::vector<std::string>& drives);
