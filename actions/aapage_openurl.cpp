#include "actions/aapage_openurl.h"

#include "addactiondlg_ids.h"

std::vector<std::string> CAddActionPage_OpenURL::Fields() const { return {ControlText(IDC_AAP_TEXT)}; }

int CAddActionPage_OpenURL::FieldControl(int field) const { return field == 0 ? IDC_AAP_TEXT : 0; }
