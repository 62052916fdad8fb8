// Action editor page: close the tray of a CD-ROM drive.
#pragma once

#include <string>
#include <vector>

#include "actions/aapage.h"

class CAddActionPage_Insert : public CAddActionPage {
 public:
  // One entry per drive ("D:"); the first is selected.
  explicit CAddActionPage_Insert(std::vector<std::string> drives);
  std::vector<std::string> Fields() const override;

 protected:
  void OnInitPage() override;
  int FieldControl(int field) const override;

 private:
  std::vector<std::string> m_drives;
};
