#include "actions/aapage_minimizeactivewindow.h"

#include "addactiondlg_ids.h"

CAddActionPage_MinimizeActiveWindow::CAddActionPage_MinimizeActiveWindow() : CAddActionPage_NoParameters(IDD_AAPAGE_MINIMIZE) {}
