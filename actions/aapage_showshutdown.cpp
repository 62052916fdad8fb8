#include "actions/aapage_showshutdown.h"

#include "addactiondlg_ids.h"

CAddActionPage_ShowShutdown::CAddActionPage_ShowShutdown() : CAddActionPage_NoParameters(IDD_AAPAGE_SHOWSHUTDOWN) {}
