// Action editor page: the simple actions (recycle bin, clipboard, Win+Space, copy, paste); one class serves all of them.
#pragma once

#include "actions/aapage.h"

class CAddActionPage_DefaultSet : public CAddActionPage_NoParameters {
 public:
  CAddActionPage_DefaultSet();
};
