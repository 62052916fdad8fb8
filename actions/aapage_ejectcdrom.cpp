#include "actions/aapage_ejectcdrom.h"

#include <utility>

#include "addactiondlg_ids.h"

CAddActionPage_Eject::CAddActionPage_Eject(std::vector<std::string> drives) : CAddActionPage(IDD_AAPAGE_EJECT), m_drives(std::move(drives)) {}

void CAddActionPage_Eject::OnInitPage() { FillDriveList(Control(IDC_AAP_VALUE), m_drives); }

std::vector<std::string> CAddActionPage_Eject::Fields() const { return {ControlText(IDC_AAP_VALUE)}; }

int CAddActionPage_Eject::FieldControl(int field) const { return field == 0 ? IDC_AAP_VALUE : 0; }
