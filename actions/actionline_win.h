// Action-line display texts in the words of the selected language file.
#pragma once

#include <string>

#include "actions/actionline.h"

std::string DescribeActionLine(const std::string& line);
