#include "actions/aapage_openfile.h"

#include <commdlg.h>

#include <vector>

#include "addactiondlg_ids.h"
#include "include/systemdlls.h"

CAddActionPage_OpenFile::CAddActionPage_OpenFile() : CAddActionPage(IDD_AAPAGE_OPENFILE) {}

std::vector<std::string> CAddActionPage_OpenFile::Fields() const {
  return {ControlText(IDC_AAP_TEXT), ControlText(IDC_AAP_PARAMETERS), ControlText(IDC_AAP_FOLDER)};
}

int CAddActionPage_OpenFile::FieldControl(int field) const {
  static const int kControls[] = {IDC_AAP_TEXT, IDC_AAP_PARAMETERS, IDC_AAP_FOLDER};
  return field >= 0 && field < 3 ? kControls[field] : 0;
}

bool CAddActionPage_OpenFile::OnCommand(int id, int code) {
  if (id != IDC_AAP_BROWSE || code != BN_CLICKED) return false;
  Browse();
  return true;
}

void CAddActionPage_OpenFile::Browse() {
  // Long paths fit; the dialog refuses a choice that does not and leaves the text as it was.
  std::vector<char> file(32768, '\0');
  static const char kFilter[] = "All Files (*.*)\0*.*\0";
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = ::GetActiveWindow();
  ofn.lpstrFilter = kFilter;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.Flags = OFN_HIDEREADONLY;
  if (ShowOpenFileDialog(&ofn)) SetControlText(IDC_AAP_TEXT, file.data());
}
