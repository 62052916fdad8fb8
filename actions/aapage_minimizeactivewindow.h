// Action editor page: minimize the active window.
#pragma once

#include "actions/aapage.h"

class CAddActionPage_MinimizeActiveWindow : public CAddActionPage_NoParameters {
 public:
  CAddActionPage_MinimizeActiveWindow();
};
