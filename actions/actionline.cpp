#include "actions/actionline.h"

#include <limits>

namespace {

// Removed from both ends of an unquoted token, so "/Sleep" and "-10" read as "Sleep" and "10".
bool IsTrimmed(char c) { return c == ' ' || c == '/' || c == '-'; }

void Flush(std::string& current, std::vector<std::string>& tokens) {
  size_t begin = 0;
  size_t end = current.size();
  while (begin < end && IsTrimmed(current[begin])) ++begin;
  while (end > begin && IsTrimmed(current[end - 1])) --end;
  if (begin < end) tokens.push_back(current.substr(begin, end - begin));
  current.clear();
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// The keywords are plain ASCII, so a byte-wise comparison without regard to ASCII case gives the
// same answer as the system's case-insensitive comparison would.
bool EqualsNoCase(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size(); ++i) {
    if (b[i] == '\0' || LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return b[i] == '\0';
}

int32_t Saturate(long long value) {
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

}  // namespace

const std::vector<ActionCommandInfo>& ActionCommandTable() {
  static const std::vector<ActionCommandInfo> table = {
      {ActionCommand::ShellExecuteEx, "ShellExecuteEx", 4, "L0015"},
      {ActionCommand::Sleep, "Sleep", 2, "L0016"},
      {ActionCommand::VolumeUp, "VolumeUP", 2, "L0054"},
      {ActionCommand::VolumeDown, "VolumeDOWN", 2, "L0055"},
      {ActionCommand::InsertPredefinedText, "InsertPredefinedText", 1, "L0060"},
      {ActionCommand::ShowShutdownDialog, "ShowShutdownDialog", 1, "L0087"},
      {ActionCommand::EjectCdrom, "EjectCDROM", 2, "L0108"},
      {ActionCommand::InsertCdrom, "InsertCDROM", 2, "L0109"},
      {ActionCommand::MaximizeActiveWindow, "MaximizeActiveWindow", 1, "L0113"},
      {ActionCommand::MinimizeActiveWindow, "MinimizeActiveWindow", 1, "L0114"},
      {ActionCommand::CloseActiveWindow, "CloseActiveWindow", 1, "L0115"},
      {ActionCommand::EmptyRecycleBin, "EmptyRecycleBin", 1, "L0186"},
      {ActionCommand::EmptyClipboard, "EmptyClipboard", 1, "L0187"},
      {ActionCommand::SimulateWinKeySpace, "SimulateWinKeySpace", 1, "L0188"},
      {ActionCommand::Copy, "Copy", 1, "L0190"},
      {ActionCommand::Paste, "Paste", 1, "L0191"},
  };
  return table;
}

const ActionCommandInfo* FindActionCommandInfo(ActionCommand command) {
  for (const ActionCommandInfo& info : ActionCommandTable()) {
    if (info.command == command) return &info;
  }
  return nullptr;
}

std::vector<std::string> TokenizeActionLine(const std::string& line) {
  std::vector<std::string> tokens;
  std::string current;
  bool inQuotes = false;
  for (char c : line) {
    if (c == '"') {
      if (inQuotes) {
        // A closed quote keeps its token exactly, empty or padded.
        tokens.push_back(current);
        current.clear();
      } else {
        Flush(current, tokens);
      }
      inQuotes = !inQuotes;
    } else if (inQuotes || c != ' ') {
      current += c;
    } else {
      Flush(current, tokens);
    }
  }
  Flush(current, tokens);
  return tokens;
}

ActionCommand MatchActionCommand(const std::vector<std::string>& tokens) {
  if (tokens.empty()) return ActionCommand::None;
  for (const ActionCommandInfo& info : ActionCommandTable()) {
    if (tokens.size() == info.tokenCount && EqualsNoCase(tokens[0], info.keyword)) return info.command;
  }
  return ActionCommand::None;
}

int32_t ParseActionNumber(const std::string& token) {
  size_t i = 0;
  // The white space of isspace in the "C" locale.
  while (i < token.size() && (token[i] == ' ' || (token[i] >= '\t' && token[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < token.size() && (token[i] == '+' || token[i] == '-')) negative = token[i++] == '-';
  // Accumulating past the 32-bit range is pointless; stopping there keeps the sum from overflowing.
  constexpr long long kBeyond = static_cast<long long>(std::numeric_limits<int32_t>::max()) + 2;
  long long magnitude = 0;
  for (; i < token.size() && token[i] >= '0' && token[i] <= '9'; ++i) {
    if (magnitude < kBeyond) magnitude = magnitude * 10 + (token[i] - '0');
  }
  return Saturate(negative ? -magnitude : magnitude);
}

std::string DescribeActionLine(const std::string& line, const LanguageTextFn& text, const LanguageFormatFn& format) {
  std::vector<std::string> tokens = TokenizeActionLine(line);
  const ActionCommandInfo* info = FindActionCommandInfo(MatchActionCommand(tokens));
  if (info == nullptr) return {};
  switch (info->tokenCount) {
    case 4: {
      std::string parameters = tokens[2].empty() ? text("L0017") : tokens[2];
      std::string folder = tokens[3].empty() ? text("L0017") : tokens[3];
      return format(info->displayKey, {lang::FormatArg::Str(tokens[1]), lang::FormatArg::Str(parameters),
                                       lang::FormatArg::Str(folder)});
    }
    case 2:
      return format(info->displayKey, {lang::FormatArg::Str(tokens[1])});
    default:
      return text(info->displayKey);
  }
}

ActionCommand CommandOfKind(int kind) {
  static const ActionCommand kinds[kActionKindCount] = {
      ActionCommand::ShellExecuteEx,       ActionCommand::ShellExecuteEx,       ActionCommand::ShellExecuteEx,
      ActionCommand::Sleep,                ActionCommand::VolumeUp,             ActionCommand::VolumeDown,
      ActionCommand::InsertPredefinedText, ActionCommand::ShowShutdownDialog,   ActionCommand::EjectCdrom,
      ActionCommand::InsertCdrom,          ActionCommand::MaximizeActiveWindow, ActionCommand::MinimizeActiveWindow,
      ActionCommand::CloseActiveWindow,    ActionCommand::EmptyRecycleBin,      ActionCommand::EmptyClipboard,
      ActionCommand::SimulateWinKeySpace,  ActionCommand::Copy,                 ActionCommand::Paste,
  };
  if (kind < 0 || kind >= kActionKindCount) return ActionCommand::None;
  return kinds[kind];
}

std::string BuildOpenFileLine(const std::string& file, const std::string& parameters, const std::string& folder) {
  return "ShellExecuteEx " + Quoted(file) + " " + Quoted(parameters) + " " + Quoted(folder);
}

std::string BuildOpenFolderLine(const std::string& folder) { return BuildOpenFileLine("Explorer.exe", folder, ""); }

std::string BuildOpenUrlLine(const std::string& url) { return BuildOpenFileLine(url, "", ""); }

std::string BuildSleepLine(long long seconds) {
  // Saturate the seconds first so the product cannot overflow either.
  long long milliseconds = static_cast<long long>(Saturate(seconds)) * 1000;
  return "Sleep " + std::to_string(Saturate(milliseconds));
}

std::string BuildVolumeLine(bool up, long long step) {
  return std::string(up ? "VolumeUP " : "VolumeDOWN ") + std::to_string(Saturate(step));
}

std::string BuildDiscTrayLine(bool open, const std::string& drive) {
  return std::string(open ? "EjectCDROM " : "InsertCDROM ") + drive;
}

std::string BuildPlainActionLine(int kind) {
  const ActionCommandInfo* info = FindActionCommandInfo(CommandOfKind(kind));
  if (info == nullptr || info->tokenCount != 1) return {};
  return info->keyword;
}
