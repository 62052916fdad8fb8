#include "actions/aapage_openfolder.h"

#include <shlobj.h>

#include "addactiondlg_ids.h"

std::vector<std::string> CAddActionPage_OpenFolder::Fields() const { return {ControlText(IDC_AAP_TEXT)}; }

int CAddActionPage_OpenFolder::FieldControl(int field) const { return field == 0 ? IDC_AAP_TEXT : 0; }

bool CAddActionPage_OpenFolder::OnCommand(int id, int code) {
  if (id != IDC_AAP_BROWSE || code != BN_CLICKED) return false;
  Browse();
  return true;
}

void CAddActionPage_OpenFolder::Browse() {
  BROWSEINFOA info = {};
  info.hwndOwner = ::GetActiveWindow();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  LPITEMIDLIST chosen = ::SHBrowseForFolderA(&info);
  if (!chosen) return;
  char path[MAX_PATH] = {};
  if (::SHGetPathFromIDListA(chosen, path)) SetControlText(IDC_AAP_TEXT, path);
  ::CoTaskMemFree(chosen);
}
