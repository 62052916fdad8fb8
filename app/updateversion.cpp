#include "app/updateversion.h"

namespace update {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Length of the plain decimal number at `pos`: digits, then optionally a point followed by digits.
size_t DecimalLength(const std::string& s, size_t pos) {
  size_t i = pos;
  while (i < s.size() && IsDigit(s[i])) ++i;
  if (i == pos) return 0;
  if (i + 1 < s.size() && s[i] == '.' && IsDigit(s[i + 1])) {
    ++i;
    while (i < s.size() && IsDigit(s[i])) ++i;
  }
  return i - pos;
}

}  // namespace

std::optional<std::string> ParseVersionFile(const std::string& bytes) {
  if (bytes.size() > kMaxVersionFileBytes) return std::nullopt;
  size_t pos = 0;
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) pos = 3;
  while (pos < bytes.size() && IsBlank(bytes[pos])) ++pos;
  size_t len = DecimalLength(bytes, pos);
  if (len == 0) return std::nullopt;
  for (size_t i = pos + len; i < bytes.size(); ++i) {
    if (!IsBlank(bytes[i])) return std::nullopt;
  }
  return bytes.substr(pos, len);
}

std::optional<std::string> LeadingDecimal(const std::string& text) {
  size_t pos = 0;
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  size_t len = DecimalLength(text, pos);
  if (len == 0) return std::nullopt;
  return text.substr(pos, len);
}

int CompareDecimal(const std::string& a, const std::string& b) {
  auto split = [](const std::string& s, std::string& whole, std::string& fraction) {
    size_t point = s.find('.');
    whole = s.substr(0, point);
    fraction = point == std::string::npos ? std::string() : s.substr(point + 1);
    size_t nonZero = whole.find_first_not_of('0');
    whole = nonZero == std::string::npos ? std::string() : whole.substr(nonZero);
    size_t last = fraction.find_last_not_of('0');
    fraction = last == std::string::npos ? std::string() : fraction.substr(0, last + 1);
  };
  std::string wa, fa, wb, fb;
  split(a, wa, fa);
  split(b, wb, fb);
  if (wa.size() != wb.size()) return wa.size() < wb.size() ? -1 : 1;
  if (int c = wa.compare(wb)) return c < 0 ? -1 : 1;
  // Without trailing zeros, the fractions compare as texts.
  if (int c = fa.compare(fb)) return c < 0 ? -1 : 1;
  return 0;
}

bool IsNewerVersion(const std::string& announced, const std::string& productVersion) {
  std::optional<std::string> ours = LeadingDecimal(productVersion);
  std::optional<std::string> theirs = LeadingDecimal(announced);
  if (!ours || !theirs) return false;
  return CompareDecimal(*theirs, *ours) > 0;
}

}  // namespace update
