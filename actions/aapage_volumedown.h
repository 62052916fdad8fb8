// Action editor page: lower the volume by a chosen step.
#pragma once

#include "actions/aapage.h"

class CAddActionPage_VolumeDown : public CAddActionPage {
 public:
  CAddActionPage_VolumeDown();
  std::vector<std::string> Fields() const override;

 protected:
  void OnInitPage() override;
  int FieldControl(int field) const override;
};
