// Action editor page: wait: the seconds, typed or chosen.
#pragma once

#include "actions/aapage.h"

class CAddActionPage_Sleep : public CAddActionPage {
 public:
  // Shown from the template the kind list names for its kind.
  using CAddActionPage::CAddActionPage;
  std::vector<std::string> Fields() const override;

 protected:
  void OnInitPage() override;
  int FieldControl(int field) const override;
};
