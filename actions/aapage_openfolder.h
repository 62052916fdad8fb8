// Action editor page: open a folder in Explorer.
#pragma once

#include "actions/aapage.h"

class CAddActionPage_OpenFolder : public CAddActionPage {
 public:
  // Shown from the template the kind list names for its kind.
  using CAddActionPage::CAddActionPage;
  std::vector<std::string> Fields() const override;

 protected:
  bool OnCommand(int id, int code) override;
  int FieldControl(int field) const override;

 private:
  void Browse();
};
