// Action editor page: open a folder in Explorer.
#pragma once

#include "actions/aapage.h"

class CAddActionPage_OpenFolder : public CAddActionPage {
 public:
  CAddActionPage_OpenFolder();
  std::vector<std::string> Fields() const override;

 protected:
  bool OnCommand(int id, int code) override;
  int FieldControl(int field) const override;

 private:
  void Browse();
};
