// Action editor page: wait: the seconds, typed or chosen.
#pragma once

#include "actions/aapage.h"

class CAddActionPage_Sleep : public CAddActionPage {
 public:
  CAddActionPage_Sleep();
  std::vector<std::string> Fields() const override;

 protected:
  void OnInitPage() override;
  int FieldControl(int field) const override;
};
