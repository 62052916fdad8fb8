#include "actions/aapage_closeactivewindow.h"

#include "addactiondlg_ids.h"

CAddActionPage_CloseActiveWindow::CAddActionPage_CloseActiveWindow() : CAddActionPage_NoParameters(IDD_AAPAGE_CLOSEWINDOW) {}
