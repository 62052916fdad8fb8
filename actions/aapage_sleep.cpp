#include "actions/aapage_sleep.h"

#include "addactiondlg_ids.h"

void CAddActionPage_Sleep::OnInitPage() {
  AddNumberEntries(Control(IDC_AAP_VALUE), 1, 30);
  SetControlText(IDC_AAP_VALUE, "5");
}

std::vector<std::string> CAddActionPage_Sleep::Fields() const { return {ControlText(IDC_AAP_VALUE)}; }

int CAddActionPage_Sleep::FieldControl(int field) const { return field == 0 ? IDC_AAP_VALUE : 0; }
