// The pages of the action editor: modeless child dialogs, one per entry of the kind list, each
// showing the inputs of one kind of action. A page hands the dialog the texts its line is built
// from and says which control holds each of them; the checks and the line itself are plain
// functions (actions/actioneditor.h).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class CAddActionPage {
 public:
  explicit CAddActionPage(UINT templateId) : m_templateId(templateId) {}
  CAddActionPage(const CAddActionPage&) = delete;
  CAddActionPage& operator=(const CAddActionPage&) = delete;
  virtual ~CAddActionPage();

  // Creates the page hidden as a child of `parent`, translated and filled. Null on failure.
  HWND Create(HWND parent);
  HWND hwnd() const { return m_hWnd; }
  UINT TemplateId() const { return m_templateId; }

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
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

  UINT m_templateId;
  HWND m_hWnd = nullptr;
};

// The pages of the kinds without parameters: a disabled list with one entry saying so.
class CAddActionPage_NoParameters : public CAddActionPage {
 public:
  using CAddActionPage::CAddActionPage;

 protected:
  void OnInitPage() override;
};

// Fills a combo box with the numbers first..last as text.
void AddNumberEntries(HWND combo, int first, int last);
// The volume steps 1 to 20, with 5 selected.
void FillVolumeStepList(HWND combo);
// One entry per drive, the first selected (none when there are no drives).
void FillDriveList(HWND combo, const std::vector<std::string>& drives);
