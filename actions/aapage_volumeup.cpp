#include "actions/aapage_volumeup.h"

#include "addactiondlg_ids.h"

CAddActionPage_VolumeUp::CAddActionPage_VolumeUp() : CAddActionPage(IDD_AAPAGE_VOLUMEUP) {}

void CAddActionPage_VolumeUp::OnInitPage() { FillVolumeStepList(Control(IDC_AAP_VALUE)); }

std::vector<std::string> CAddActionPage_VolumeUp::Fields() const { return {ControlText(IDC_AAP_VALUE)}; }

int CAddActionPage_VolumeUp::FieldControl(int field) const { return field == 0 ? IDC_AAP_VALUE : 0; }
