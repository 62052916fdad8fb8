#include "actions/aapage_maximizeactivewindow.h"

#include "addactiondlg_ids.h"

CAddActionPage_MaximizeActiveWindow::CAddActionPage_MaximizeActiveWindow() : CAddActionPage_NoParameters(IDD_AAPAGE_MAXIMIZE) {}
