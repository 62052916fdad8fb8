#include "actions/actionline_win.h"

#include "language/language.h"

std::string DescribeActionLine(const std::string& line) {
  return DescribeActionLine(
      line, [](const std::string& key) { return GetPlainLanguageText(key); },
      [](const std::string& key, const std::vector<lang::FormatArg>& args) { return FormatLanguageText(key, args); });
}
