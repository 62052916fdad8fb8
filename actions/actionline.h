// The action-line language: how a line splits into tokens, which command it is, the lines the
// action editor writes, and the text the hotkey lists show for a line. Portable: no <windows.h>.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "language/langformat.h"

enum class ActionCommand {
  None,
  ShellExecuteEx,
  Sleep,
  VolumeUp,
  VolumeDown,
  InsertPredefinedText,
  ShowShutdownDialog,
  EjectCdrom,
  InsertCdrom,
  MaximizeActiveWindow,
  MinimizeActiveWindow,
  CloseActiveWindow,
  EmptyRecycleBin,
  EmptyClipboard,
  SimulateWinKeySpace,
  Copy,
  Paste,
};

// One row of the command table. The token count includes the keyword.
struct ActionCommandInfo {
  ActionCommand command;
  const char* keyword;     // written in this case, read without regard to case
  size_t tokenCount;
  const char* displayKey;  // L-key of the display text
};

// The sixteen commands, in the order the executor tries them.
const std::vector<ActionCommandInfo>& ActionCommandTable();
// The table row of a command; nullptr for ActionCommand::None.
const ActionCommandInfo* FindActionCommandInfo(ActionCommand command);

// Splits a line into tokens (keyword first). Never fails; an empty line gives no tokens.
std::vector<std::string> TokenizeActionLine(const std::string& line);

// The command whose keyword and exact token count match, or None.
ActionCommand MatchActionCommand(const std::vector<std::string>& tokens);
inline ActionCommand MatchActionLine(const std::string& line) { return MatchActionCommand(TokenizeActionLine(line)); }

// A numeric parameter read the way atol reads it: leading white space, an optional sign, digits up
// to the first other character, 0 without digits. Saturates at the range of a 32-bit long (the
// width of long on Windows) instead of overflowing.
int32_t ParseActionNumber(const std::string& token);

// Language texts for the display text: a plain text by key, and a format text by key filled with
// arguments (the caller checks the format's placeholders against them).
using LanguageTextFn = std::function<std::string(const std::string& key)>;
using LanguageFormatFn = std::function<std::string(const std::string& key, const std::vector<lang::FormatArg>& args)>;

// The text a hotkey list shows for a line; empty for a line that is no command.
std::string DescribeActionLine(const std::string& line, const LanguageTextFn& text, const LanguageFormatFn& format);

// The action kinds of the editor's kind list; the number selects which line is built.
enum class ActionKind {
  OpenFile = 0,
  OpenFolder = 1,
  OpenUrl = 2,
  Sleep = 3,
  VolumeUp = 4,
  VolumeDown = 5,
  InsertPredefinedText = 6,
  ShowShutdownDialog = 7,
  EjectCdrom = 8,
  InsertCdrom = 9,
  MaximizeActiveWindow = 10,
  MinimizeActiveWindow = 11,
  CloseActiveWindow = 12,
  EmptyRecycleBin = 13,
  EmptyClipboard = 14,
  SimulateWinKeySpace = 15,
  Copy = 16,
  Paste = 17,
};
constexpr int kActionKindCount = 18;

// The command a kind's line is; None for a number outside 0..17.
ActionCommand CommandOfKind(int kind);

// The lines the editor writes. Texts go in unchanged, without escaping: a text holding a double
// quote gives a line that tokenizes into more fields and is then no command.
std::string BuildOpenFileLine(const std::string& file, const std::string& parameters, const std::string& folder);
std::string BuildOpenFolderLine(const std::string& folder);
std::string BuildOpenUrlLine(const std::string& url);
// The editor asks for seconds; the line holds milliseconds, saturated so atol reads them back.
std::string BuildSleepLine(long long seconds);
std::string BuildVolumeLine(bool up, long long step);
std::string BuildDiscTrayLine(bool open, const std::string& drive);
// The keyword alone, for the kinds without parameters; empty for any other kind.
std::string BuildPlainActionLine(int kind);
