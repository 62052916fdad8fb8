// Language texts as they come out of a file: escapes, and printf-style formatting that a translator
// cannot turn against the program. Portable: no <windows.h>.
#pragma once

#include <string>
#include <vector>

namespace lang {

// A text of exactly five characters beginning with L or l names a language text (an L-key). Stored
// descriptions, names and texts follow this rule, so shipped files can be language-neutral.
inline bool IsLanguageKey(const std::string& text) {
  return text.size() == 5 && (text[0] == 'L' || text[0] == 'l');
}

// Access keys: an "&" in a label marks the character after it as the key Windows underlines and the
// user presses with Alt; "&&" stands for one ampersand. Captions, lists, tooltips and messages show
// the same texts without the marks.

// The text as it shows without access key marks: "&x" gives "x", "&&" gives "&", and a lone "&" at
// the end goes.
std::string StripAccessKey(const std::string& text);

// The characters marked as access keys, in order (a label should have exactly one).
std::string AccessKeys(const std::string& text);

// Turns the two-character escapes \r, \n and \t into their characters, in three passes in that order.
std::string Unescape(std::string text);

// One argument a call site passes to a format text.
struct FormatArg {
  enum class Kind { Int, String };
  Kind kind;
  long long number;
  std::string text;

  static FormatArg Int(long long value) { return {Kind::Int, value, {}}; }
  static FormatArg Str(std::string value) { return {Kind::String, 0, std::move(value)}; }
};

// Longest text a format may produce; the rest is cut.
constexpr size_t kMaxFormattedLength = 65535;

// Formats `format` with `args` when every conversion in it asks for the kind of argument that stands
// at its place: %d %i %u %x %X %o %c for numbers, %s for texts, each with the usual flags, a width
// and a precision of at most three digits, and %% for a percent sign. A text may use fewer
// conversions than there are arguments (it just does not show the rest). Anything else (%n, %p, %f,
// "*", a conversion with no argument left, a wrong kind) rejects the whole text: returns false.
// The kinds of argument a format text asks for, in order: 'd' for a number, 's' for a text. False
// when the text holds a conversion that FormatChecked would refuse whatever the arguments.
bool ConversionKinds(const std::string& format, std::string& kinds);

bool FormatChecked(const std::string& format, const std::vector<FormatArg>& args, std::string& out);

}  // namespace lang
