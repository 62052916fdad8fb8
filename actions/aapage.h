// The pages of the action editor: modeless child dialogs, one per entry of the kind list, each
// showing the inputs of one kind of action. A page hands the dialog the texts its line is built
// from and says which control holds each of them; the checks and the line itself are plain
// functions (actions/actioneditor.h). One class serves every kind: what differs is the template,
// the controls of the fields, how the page is filled and what its browse button asks for.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "include/DialogBase.h"

class CAddActionPage : public CDialogBase {
 public:
  // Fills the page's controls once it is created and translated.
  using Filler = std::function<void(CAddActionPage& page)>;
  // Asks the user for a path for the first field; false when cancelled.
  using Chooser = bool (*)(std::string& path);

  // `fieldControls`: the control of each field, in the order the line takes them.
  CAddActionPage(UINT templateId, std::vector<int> fieldControls, Filler fill = nullptr, Chooser browse = nullptr);

  // Creates the page hidden as a child of `parent`, translated and filled. Null on failure.
  HWND Create(HWND parent);

  // The texts the line is built from, in the order the line takes them.
  std::vector<std::string> Fields() const;
  // Moves the focus to the control of a field; the whole text of an edit is selected.
  void FocusField(int field) const;

  HWND Control(int id) const { return ::GetDlgItem(m_hWnd, id); }
  void SetControlText(int id, const std::string& text) const;

 private:
  std::string ControlText(int id) const;
  BOOL OnInitDialog() override;
  BOOL OnEraseBackground(HDC dc) override;
  HBRUSH OnControlColour(UINT msg, HDC dc) override;
  // Not the base's: a page has no OK or Cancel of its own to end.
  void OnCommand(int id, int code) override;

  std::vector<int> m_fieldControls;
  Filler m_fill;
  Chooser m_browse;
};

// Fillers of the value list (IDC_AAP_VALUE):
// a disabled entry saying that the kind needs no parameters;
void FillNoParameters(CAddActionPage& page);
// the seconds 1 to 30, 5 shown;
void FillSecondsList(CAddActionPage& page);
// the volume steps 1 to 20, with 5 selected.
void FillVolumeStepList(CAddActionPage& page);
// One entry per drive, the first selected (none when there are no drives).
void FillDriveList(HWND combo, const std::vector<std::string>& drives);

// The browse buttons: a file to open, a folder.
bool ChooseFile(std::string& path);
bool ChooseFolder(std::string& path);
