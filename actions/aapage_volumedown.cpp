#include "actions/aapage_volumedown.h"

#include "addactiondlg_ids.h"

CAddActionPage_VolumeDown::CAddActionPage_VolumeDown() : CAddActionPage(IDD_AAPAGE_VOLUMEDOWN) {}

void CAddActionPage_VolumeDown::OnInitPage() { FillVolumeStepList(Control(IDC_AAP_VALUE)); }

std::vector<std::string> CAddActionPage_VolumeDown::Fields() const { return {ControlText(IDC_AAP_VALUE)}; }

int CAddActionPage_VolumeDown::FieldControl(int field) const { return field == 0 ? IDC_AAP_VALUE : 0; }
