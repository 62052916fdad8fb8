// Action editor page: insert a predefined text (chosen when the hotkey runs).
#pragma once

#include "actions/aapage.h"

class CAddActionPage_CannedResponds : public CAddActionPage_NoParameters {
 public:
  CAddActionPage_CannedResponds();
};
