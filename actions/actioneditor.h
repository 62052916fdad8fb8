// What the action editor turns its page inputs into: the kind list, the checks run at OK and the
// line built from the page's texts. Portable: no <windows.h>, so the rules are tested without a
// window; the dialog only gathers the texts and shows the outcome.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace actioneditor {

// What the page of a kind asks for (each the page class of the action editor that shows it).
enum class PageInputs {
  File,        // file, parameters, working folder, with a browse button
  Folder,      // a folder, with a browse button
  Url,         // a web address
  Seconds,     // the seconds to wait
  VolumeStep,  // the volume step
  Drive,       // a CD-ROM drive
  None,        // nothing: a disabled list saying so
};

// One entry of the kind list: the action kind it builds, the L-key of its text, and its page:
// what it asks for and the dialog template it is shown from.
struct KindEntry {
  int kind;
  const char* textKey;
  PageInputs inputs;
  unsigned pageTemplate;
};

// The eighteen entries in list order (the wait entry stands after the disc entries).
const std::vector<KindEntry>& KindList();
constexpr int kKindListCount = 18;

// The action kind of a list index; -1 when the index names no entry.
int KindOfListIndex(int index);

// The list index to select for a remembered value: the value itself when it names an entry, else
// -1 (nothing selected). Damaged settings (negative, too large) end up as -1.
int ListIndexOfRemembered(long long remembered);

// Longest wait, in seconds, whose milliseconds still fit a 32-bit long.
constexpr long long kMaxSleepSeconds = 2147483;
// Largest step a 32-bit long holds.
constexpr long long kMaxVolumeStep = 2147483647;

// Reads a number with atoi rules (leading white space, optional sign, digits up to the first other
// character; 0 without digits). `overflow` is set when the digits do not fit 32 bits, in which case
// the value is meaningless.
long long ReadEditorNumber(const std::string& text, bool& overflow);

// True when the text holds a character no action line can carry: a double quote (it would end the
// quoted field) or a line break (it would end the line in the hotkey file).
bool HasUnstorableCharacter(const std::string& text);

// The outcome of OK: either the finished line, or the L-key of the message to show and the index
// of the page field (in the order the page hands them over) that gets the focus.
struct ComposeResult {
  bool ok = false;
  std::string line;
  std::string messageKey;
  int field = -1;
};

// Checks the page's field texts for `kind` and builds its line. Fields by kind:
//   0 open file: file, parameters, folder    1 open folder: folder    2 open URL: URL
//   3 wait: seconds    4, 5 volume: step    8, 9 disc tray: drive    others: none
// A kind outside 0..17 is refused with L0053 on field -1 (no kind chosen).
ComposeResult BuildActionLineFromFields(int kind, const std::vector<std::string>& fields);

// The message key shown for a text that holds a double quote or a line break.
constexpr const char kUnstorableTextKey[] = "L0194";

// The mailto address of the "suggest an action" button. The texts go in as they are.
std::string BuildSuggestionMailUrl(const std::string& address, const std::string& productName,
                                   const std::string& subjectText, const std::string& bodyText);

}  // namespace actioneditor
