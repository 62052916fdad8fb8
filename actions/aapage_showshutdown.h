// Action editor page: show the shutdown dialog.
#pragma once

#include "actions/aapage.h"

class CAddActionPage_ShowShutdown : public CAddActionPage_NoParameters {
 public:
  CAddActionPage_ShowShutdown();
};
