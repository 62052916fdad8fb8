#include "actions/aapage_defaultset.h"

#include "addactiondlg_ids.h"

CAddActionPage_DefaultSet::CAddActionPage_DefaultSet() : CAddActionPage_NoParameters(IDD_AAPAGE_DEFAULTSET) {}
