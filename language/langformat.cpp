#include "language/langformat.h"

#include <cstdio>

#include "include/textutil.h"

namespace lang {

std::string Unescape(std::string text) {
  text = text::ReplaceAll(std::move(text), "\\r", "\r");
  text = text::ReplaceAll(std::move(text), "\\n", "\n");
  return text::ReplaceAll(std::move(text), "\\t", "\t");
}

std::string StripAccessKey(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '&') {
      out += text[i];
    } else if (i + 1 < text.size()) {
      out += text[++i];  // the marked character, or the second of "&&"
    }
  }
  return out;
}

std::string AccessKeys(const std::string& text) {
  std::string keys;
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] != '&') keys += text[i + 1];
    ++i;
  }
  return keys;
}

namespace {

// Reads up to three digits; a fourth one makes the conversion invalid (bounds the output).
bool ReadSmallNumber(const std::string& f, size_t& i, std::string& spec) {
  size_t digits = 0;
  while (i < f.size() && f[i] >= '0' && f[i] <= '9') {
    if (++digits > 3) return false;
    spec += f[i++];
  }
  return true;
}

template <typename... T>
std::string Snprintf(const std::string& spec, T... value) {
  int n = std::snprintf(nullptr, 0, spec.c_str(), value...);
  if (n <= 0) return {};
  std::string s(static_cast<size_t>(n) + 1, '\0');
  std::snprintf(&s[0], s.size(), spec.c_str(), value...);
  s.resize(static_cast<size_t>(n));
  return s;
}

// Reads one conversion that starts after a "%" at format[i] (not "%%"). On success `spec` is a
// printf conversion safe to use with a long long (for numbers) or a char pointer, `conv` its letter
// and i the index of that letter.
bool ParseConversion(const std::string& format, size_t& i, std::string& spec, char& conv) {
  spec = "%";
  while (i < format.size() && std::string("-+ #0").find(format[i]) != std::string::npos) spec += format[i++];
  if (!ReadSmallNumber(format, i, spec)) return false;
  if (i < format.size() && format[i] == '.') {
    spec += format[i++];
    if (!ReadSmallNumber(format, i, spec)) return false;
  }
  // The length modifier is dropped: every number is passed as long long, so any width is safe.
  if (i < format.size() && (format[i] == 'h' || format[i] == 'l')) {
    char m = format[i++];
    if (i < format.size() && format[i] == m) ++i;
  }
  if (i >= format.size()) return false;
  conv = format[i];
  if (std::string("diuxXo").find(conv) != std::string::npos) {
    spec += "ll";
  } else if (conv != 'c' && conv != 's') {
    return false;
  }
  spec += conv;
  return true;
}

char KindLetter(char conv) { return conv == 's' ? 's' : 'd'; }

}  // namespace

bool ConversionKinds(const std::string& format, std::string& kinds) {
  std::string found;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    if (++i >= format.size()) return false;
    if (format[i] == '%') continue;
    std::string spec;
    char conv = 0;
    if (!ParseConversion(format, i, spec, conv)) return false;
    found += KindLetter(conv);
  }
  kinds = found;
  return true;
}

bool FormatChecked(const std::string& format, const std::vector<FormatArg>& args, std::string& out) {
  std::string result;
  size_t next = 0;
  for (size_t i = 0; i < format.size() && result.size() <= kMaxFormattedLength; ++i) {
    if (format[i] != '%') {
      result += format[i];
      continue;
    }
    if (++i >= format.size()) return false;
    if (format[i] == '%') {
      result += '%';
      continue;
    }
    std::string spec;
    char conv = 0;
    if (!ParseConversion(format, i, spec, conv) || next >= args.size()) return false;
    const FormatArg& arg = args[next++];
    bool wantsText = KindLetter(conv) == 's';
    if (wantsText != (arg.kind == FormatArg::Kind::String)) return false;
    if (conv == 's') {
      result += Snprintf(spec, arg.text.c_str());
    } else if (conv == 'c') {
      result += Snprintf(spec, static_cast<int>(static_cast<unsigned char>(arg.number)));
    } else if (conv == 'd' || conv == 'i') {
      result += Snprintf(spec, arg.number);
    } else {
      result += Snprintf(spec, static_cast<unsigned long long>(arg.number));
    }
  }
  if (result.size() > kMaxFormattedLength) result.resize(kMaxFormattedLength);
  out = std::move(result);
  return true;
}

}  // namespace lang
