#include "actions/aapage_insertcdrom.h"

#include <utility>

#include "addactiondlg_ids.h"

CAddActionPage_Insert::CAddActionPage_Insert(std::vector<std::string> drives) : CAddActionPage(IDD_AAPAGE_INSERT), m_drives(std::move(drives)) {}

void CAddActionPage_Insert::OnInitPage() { FillDriveList(Control(IDC_AAP_VALUE), m_drives); }

std::vector<std::string> CAddActionPage_Insert::Fields() const { return {ControlText(IDC_AAP_VALUE)}; }

int CAddActionPage_Insert::FieldControl(int field) const { return field == 0 ? IDC_AAP_VALUE : 0; }
