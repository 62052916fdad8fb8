#include "actions/aapage_cannedresponds.h"

#include "addactiondlg_ids.h"

CAddActionPage_CannedResponds::CAddActionPage_CannedResponds() : CAddActionPage_NoParameters(IDD_AAPAGE_CANNEDRESPONDS) {}
