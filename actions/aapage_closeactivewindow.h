// Action editor page: close the active window.
#pragma once

#include "actions/aapage.h"

class CAddActionPage_CloseActiveWindow : public CAddActionPage_NoParameters {
 public:
  CAddActionPage_CloseActiveWindow();
};
