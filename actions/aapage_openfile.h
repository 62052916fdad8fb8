// Action editor page: open a file or program: the file, its parameters and working folder.
#pragma once

#include "actions/aapage.h"

class CAddActionPage_OpenFile : public CAddActionPage {
 public:
  // Shown from the template the kind list names for its kind.
  using CAddActionPage::CAddActionPage;
  // File, parameters, working folder.
  std::vector<std::string> Fields() const override;

 protected:
  bool OnCommand(int id, int code) override;
  int FieldControl(int field) const override;

 private:
  void Browse();
};
