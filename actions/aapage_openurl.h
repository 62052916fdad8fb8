// Action editor page: open a web address.
#pragma once

#include "actions/aapage.h"

class CAddActionPage_OpenURL : public CAddActionPage {
 public:
  // Shown from the template the kind list names for its kind.
  using CAddActionPage::CAddActionPage;
  std::vector<std::string> Fields() const override;

 protected:
  int FieldControl(int field) const override;
};
