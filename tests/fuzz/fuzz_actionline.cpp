// Arbitrary bytes as an action line: the tokenizer, the matcher, the number reader and the display
// text must hold their invariants for any input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "actions/actionline.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

bool IsTrimmed(char c) { return c == ' ' || c == '/' || c == '-'; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string line(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> tokens = TokenizeActionLine(line);

  // An unquoted token costs one byte, a quoted one its two quotes, and two unquoted tokens need a
  // blank between them: no line yields more than (2n + 1) / 3 tokens.
  Require(tokens.size() <= (2 * size + 1) / 3);

  // Tokens are pieces of the line, in order, with no quote in them.
  size_t pos = 0;
  size_t quotes = 0;
  for (char c : line) quotes += c == '"';
  for (const std::string& t : tokens) {
    Require(t.find('"') == std::string::npos);
    if (t.empty()) {
      Require(quotes >= 2);  // only a closed pair of quotes makes an empty token
      continue;
    }
    // A token with a trimmed character at an end can only come from a closed pair of quotes.
    bool mustBeQuoted = IsTrimmed(t.front()) || IsTrimmed(t.back());
    std::string piece = mustBeQuoted ? "\"" + t + "\"" : t;
    size_t at = line.find(piece, pos);
    Require(at != std::string::npos);
    pos = at + piece.size();
  }

  // Every token list survives being written back fully quoted.
  std::string quoted;
  for (const std::string& t : tokens) quoted += "\"" + t + "\" ";
  Require(TokenizeActionLine(quoted) == tokens);

  ActionCommand command = MatchActionCommand(tokens);
  const ActionCommandInfo* info = FindActionCommandInfo(command);
  Require((command == ActionCommand::None) == (info == nullptr));
  if (info != nullptr) Require(tokens.size() == info->tokenCount);
  Require(MatchActionLine(line) == command);

  size_t texts = 0;
  size_t formats = 0;
  std::string described = DescribeActionLine(
      line,
      [&texts](const std::string& key) {
        ++texts;
        return "T" + key;
      },
      [&formats, &tokens](const std::string& key, const std::vector<lang::FormatArg>& args) {
        ++formats;
        Require(args.size() == 1 || args.size() == 3);
        Require(args.size() == tokens.size() - 1);
        for (const lang::FormatArg& a : args) Require(a.kind == lang::FormatArg::Kind::String);
        return "F" + key;
      });
  Require(described.empty() == (info == nullptr));
  if (info != nullptr) {
    Require(described.substr(1) == info->displayKey);
    Require(formats == (info->tokenCount > 1 ? 1u : 0u));
    Require(texts <= 2);
  } else {
    Require(texts == 0 && formats == 0);
  }

  for (const std::string& t : tokens) ParseActionNumber(t);
  ParseActionNumber(line);
  return 0;
}
