// Action editor page: raise the volume by a chosen step.
#pragma once

#include "actions/aapage.h"

class CAddActionPage_VolumeUp : public CAddActionPage {
 public:
  CAddActionPage_VolumeUp();
  std::vector<std::string> Fields() const override;

 protected:
  void OnInitPage() override;
  int FieldControl(int field) const override;
};
