#include "actions/actioneditor.h"

#include <cctype>

#include "actions/actionline.h"
#include "resources/addactiondlg_ids.h"

namespace actioneditor {

namespace {

constexpr const char kInvalidValueKey[] = "L0053";
constexpr long long kInt32Max = 2147483647LL;

ComposeResult Refuse(const char* key, int field) {
  ComposeResult r;
  r.messageKey = key;
  r.field = field;
  return r;
}

ComposeResult Accept(std::string line) {
  ComposeResult r;
  r.ok = true;
  r.line = std::move(line);
  return r;
}

std::string FieldAt(const std::vector<std::string>& fields, size_t i) {
  return i < fields.size() ? fields[i] : std::string();
}

// The text fields of a line: the first must not be empty, none may hold what a line cannot carry.
bool CheckTexts(const std::vector<std::string>& texts, const char* emptyKey, ComposeResult& refusal) {
  if (texts.empty() || texts[0].empty()) {
    refusal = Refuse(emptyKey, 0);
    return false;
  }
  for (size_t i = 0; i < texts.size(); ++i) {
    if (HasUnstorableCharacter(texts[i])) {
      refusal = Refuse(kUnstorableTextKey, static_cast<int>(i));
      return false;
    }
  }
  return true;
}

// A number that is not 0 and whose magnitude stays within `limit`.
bool CheckNumber(const std::string& text, long long limit, long long& value) {
  bool overflow = false;
  value = ReadEditorNumber(text, overflow);
  if (overflow || value == 0) return false;
  return value <= limit && value >= -limit;
}

}  // namespace

const std::vector<KindEntry>& KindList() {
  using P = PageInputs;
  // The five simple kinds at the end share one page.
  static const std::vector<KindEntry> list = {
      {0, "L0036", P::File, IDD_AAPAGE_OPENFILE},
      {1, "L0037", P::Folder, IDD_AAPAGE_OPENFOLDER},
      {2, "L0038", P::Url, IDD_AAPAGE_OPENURL},
      {4, "L0057", P::VolumeStep, IDD_AAPAGE_VOLUMEUP},
      {5, "L0059", P::VolumeStep, IDD_AAPAGE_VOLUMEDOWN},
      {6, "L0060", P::None, IDD_AAPAGE_CANNEDRESPONDS},
      {7, "L0087", P::None, IDD_AAPAGE_SHOWSHUTDOWN},
      {8, "L0111", P::Drive, IDD_AAPAGE_EJECT},
      {9, "L0112", P::Drive, IDD_AAPAGE_INSERT},
      {3, "L0052", P::Seconds, IDD_AAPAGE_SLEEP},
      {10, "L0113", P::None, IDD_AAPAGE_MAXIMIZE},
      {11, "L0114", P::None, IDD_AAPAGE_MINIMIZE},
      {12, "L0115", P::None, IDD_AAPAGE_CLOSEWINDOW},
      {13, "L0186", P::None, IDD_AAPAGE_DEFAULTSET},
      {14, "L0187", P::None, IDD_AAPAGE_DEFAULTSET},
      {15, "L0188", P::None, IDD_AAPAGE_DEFAULTSET},
      {16, "L0190", P::None, IDD_AAPAGE_DEFAULTSET},
      {17, "L0191", P::None, IDD_AAPAGE_DEFAULTSET},
  };
  return list;
}

int KindOfListIndex(int index) {
  if (index < 0 || index >= static_cast<int>(KindList().size())) return -1;
  return KindList()[static_cast<size_t>(index)].kind;
}

int ListIndexOfRemembered(long long remembered) {
  if (remembered < 0 || remembered >= static_cast<long long>(KindList().size())) return -1;
  return static_cast<int>(remembered);
}

long long ReadEditorNumber(const std::string& text, bool& overflow) {
  overflow = false;
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  long long magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    // Stop accumulating once past 32 bits, so the long long itself never overflows.
    if (magnitude <= kInt32Max + 1) magnitude = magnitude * 10 + (text[i] - '0');
  }
  long long value = negative ? -magnitude : magnitude;
  if (value > kInt32Max || value < -kInt32Max - 1) overflow = true;
  return value;
}

bool HasUnstorableCharacter(const std::string& text) {
  return text.find_first_of("\"\r\n") != std::string::npos;
}

ComposeResult BuildActionLineFromFields(int kind, const std::vector<std::string>& fields) {
  ComposeResult refusal;
  switch (static_cast<ActionKind>(kind)) {
    case ActionKind::OpenFile: {
      std::vector<std::string> texts = {FieldAt(fields, 0), FieldAt(fields, 1), FieldAt(fields, 2)};
      if (!CheckTexts(texts, "L0045", refusal)) return refusal;
      return Accept(BuildOpenFileLine(texts[0], texts[1], texts[2]));
    }
    case ActionKind::OpenFolder: {
      std::vector<std::string> texts = {FieldAt(fields, 0)};
      if (!CheckTexts(texts, "L0046", refusal)) return refusal;
      return Accept(BuildOpenFolderLine(texts[0]));
    }
    case ActionKind::OpenUrl: {
      std::vector<std::string> texts = {FieldAt(fields, 0)};
      if (!CheckTexts(texts, "L0047", refusal)) return refusal;
      return Accept(BuildOpenUrlLine(texts[0]));
    }
    case ActionKind::Sleep: {
      long long seconds = 0;
      if (!CheckNumber(FieldAt(fields, 0), kMaxSleepSeconds, seconds)) return Refuse(kInvalidValueKey, 0);
      return Accept(BuildSleepLine(seconds));
    }
    case ActionKind::VolumeUp:
    case ActionKind::VolumeDown: {
      long long step = 0;
      if (!CheckNumber(FieldAt(fields, 0), kMaxVolumeStep, step)) return Refuse(kInvalidValueKey, 0);
      return Accept(BuildVolumeLine(kind == static_cast<int>(ActionKind::VolumeUp), step));
    }
    case ActionKind::EjectCdrom:
    case ActionKind::InsertCdrom: {
      std::string drive = FieldAt(fields, 0);
      if (drive.empty() || HasUnstorableCharacter(drive)) return Refuse(kInvalidValueKey, 0);
      return Accept(BuildDiscTrayLine(kind == static_cast<int>(ActionKind::EjectCdrom), drive));
    }
    default:
      break;
  }
  std::string plain = BuildPlainActionLine(kind);
  if (plain.empty()) return Refuse(kInvalidValueKey, -1);
  return Accept(plain);
}

std::string BuildSuggestionMailUrl(const std::string& address, const std::string& productName,
                                   const std::string& subjectText, const std::string& bodyText) {
  return "mailto:" + address + "?subject=" + productName + " - " + subjectText + "&body=" + bodyText;
}

}  // namespace actioneditor
