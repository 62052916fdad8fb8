// Action editor page: maximize the active window.
#pragma once

#include "actions/aapage.h"

class CAddActionPage_MaximizeActiveWindow : public CAddActionPage_NoParameters {
 public:
  CAddActionPage_MaximizeActiveWindow();
};
