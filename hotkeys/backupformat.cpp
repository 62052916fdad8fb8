#include "hotkeys/backupformat.h"

#include <cstdlib>

#include "include/textutil.h"

namespace backup {

namespace {

constexpr const char* kNumberKeys[] = {"Alt", "Ctrl", "Shift", "Win", "vk", "Enable"};

bool Fail(std::string* reason, const char* why) {
  if (reason) *reason = why;
  return false;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

int32_t* NumberField(HotkeyDefinition& def, size_t index) {
  int32_t* fields[] = {&def.Alt, &def.Ctrl, &def.Shift, &def.Win, &def.vk, &def.Enable};
  return fields[index];
}

}  // namespace

std::string JoinActionLines(const std::vector<std::string>& lines) {
  std::string joined;
  for (const std::string& line : lines) {
    joined += line;
    joined += kActionSeparator;
  }
  return joined;
}

std::vector<std::string> SplitActionLines(std::string_view joined) {
  std::vector<std::string> lines;
  const std::string_view separator = kActionSeparator;
  size_t start = 0;
  while (start <= joined.size()) {
    size_t end = joined.find(separator, start);
    if (end == std::string_view::npos) end = joined.size();
    if (end > start) lines.emplace_back(joined.substr(start, end - start));
    start = end + separator.size();
  }
  return lines;
}

std::optional<int32_t> TextToInt32(std::string_view text) {
  size_t i = 0, n = text.size();
  while (i < n && IsBlank(text[i])) ++i;
  while (n > i && IsBlank(text[n - 1])) --n;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // The magnitude is gathered with room above the 32-bit range, so an overflow is seen, not wrapped.
  constexpr uint64_t kLimit = uint64_t{1} << 32;
  uint64_t magnitude = 0;
  size_t digits = 0;
  while (i < n && text[i] >= '0' && text[i] <= '9') {
    magnitude = magnitude * 10 + static_cast<uint64_t>(text[i++] - '0');
    ++digits;
    if (magnitude > kLimit) return std::nullopt;
  }
  if (i < n && text[i] == '.') {
    ++i;
    int first = -1;
    bool restNonZero = false;
    while (i < n && text[i] >= '0' && text[i] <= '9') {
      if (first < 0) {
        first = text[i] - '0';
      } else if (text[i] != '0') {
        restNonZero = true;
      }
      ++i;
      ++digits;
    }
    // Half rounds to the even neighbour, as the variant conversion does.
    if (first > 5 || (first == 5 && (restNonZero || (magnitude & 1)))) ++magnitude;
  }
  if (digits == 0 || i != n) return std::nullopt;
  if (negative) {
    if (magnitude > uint64_t{1} << 31) return std::nullopt;
    return static_cast<int32_t>(-static_cast<int64_t>(magnitude));
  }
  if (magnitude > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(magnitude);
}

xml::NodePtr BuildBackupDocument(const std::vector<StoredHotkey>& hotkeys, const xml::Node* config) {
  xml::NodePtr data = xml::Node::CreateElement("DATA");
  xml::NodePtr document = xml::NewUnicodeDocument(data);
  xml::NodePtr list = xml::Node::CreateElement("Hotkeys");
  xml::NodePtr texts = xml::Node::CreateElement("CannedResponds");
  if (!document || !list || !texts || !data->AppendChild(list)) return {};

  for (const StoredHotkey& hotkey : hotkeys) {
    xml::NodePtr item = xml::Node::CreateElement("HkItem");
    if (!item) return {};
    const std::pair<const char*, const std::string*> values[] = {
        {"Alt", &hotkey.Alt}, {"Ctrl", &hotkey.Ctrl}, {"Shift", &hotkey.Shift},
        {"Win", &hotkey.Win}, {"vk", &hotkey.vk},     {"Enable", &hotkey.Enable},
        {"Description", &hotkey.Description}};
    for (const auto& [name, value] : values) {
      if (!item->SetAttribute(name, xml::FromAnsi(*value))) return {};
    }
    if (!item->SetAttribute("ActionLines", xml::FromAnsi(JoinActionLines(hotkey.ActionLines)))) return {};
    if (!list->AppendChild(item)) return {};
  }

  if (!data->AppendChild(texts)) return {};
  // Without a text store the texts are an empty config, so that the program's own backup imports.
  xml::NodePtr copy = config ? config->CloneNode(true) : xml::Node::CreateElement("config");
  if (!copy || !texts->AppendChild(copy)) return {};
  return document;
}

bool ReadBackupDocument(const xml::Node& document, BackupContent& content, std::string* reason) {
  content = BackupContent();
  if (!document.SelectSingleNode("/DATA/Hotkeys")) return Fail(reason, "no /DATA/Hotkeys");
  xml::NodePtr config = document.SelectSingleNode("/DATA/CannedResponds/config");
  if (!config) return Fail(reason, "no /DATA/CannedResponds/config");

  const xml::NodeList items = document.SelectNodes("/DATA/Hotkeys/HkItem");
  if (items.Length() > kMaxHotkeys) return Fail(reason, "too many hotkeys");
  std::vector<HotkeyDefinition> hotkeys;
  hotkeys.reserve(items.Length());
  for (const xml::NodePtr& item : items) {
    HotkeyDefinition def;
    def.vk = 0;  // a missing key code reads as 0 from the file
    bool any = false;
    for (size_t k = 0; k < 6; ++k) {
      const xml::Attribute* attribute = item->GetNamedItem(kNumberKeys[k]);
      if (!attribute) continue;
      any = true;
      // Text that is no number is left out, so the key reads as 0 like a missing one.
      if (std::optional<int32_t> number = TextToInt32(xml::ToAnsi(attribute->value))) *NumberField(def, k) = *number;
    }
    if (const xml::Attribute* attribute = item->GetNamedItem("Description")) {
      any = true;
      def.Description = text::OneLine(xml::ToAnsi(attribute->value));
      if (def.Description.size() > kMaxDescriptionBytes) return Fail(reason, "description too long");
    }
    if (const xml::Attribute* attribute = item->GetNamedItem("ActionLines")) {
      any = true;
      if (attribute->value.size() > kMaxActionLinesBytes) return Fail(reason, "action lines too long");
      for (std::string& line : SplitActionLines(xml::ToAnsi(attribute->value))) {
        def.ActionLines.push_back(text::OneLine(std::move(line)));
      }
    }
    // An item with nothing of a hotkey in it is no hotkey.
    if (any) hotkeys.push_back(std::move(def));
  }

  xml::NodePtr texts = xml::NewUnicodeDocument(config->CloneNode(true));
  if (!texts) return Fail(reason, "the text store could not be copied");
  std::string bytes;
  if (!xml::SerializeDocument(*texts, bytes)) return Fail(reason, "the text store cannot be written");
  content.hotkeys = std::move(hotkeys);
  content.textsFile = std::move(bytes);
  return true;
}

uint64_t FilesDigest(const std::vector<std::pair<std::string, std::string>>& files) {
  uint64_t hash = 14695981039346656037ull;
  auto mix = [&hash](std::string_view bytes) {
    // The length first, so ("ab", "c") and ("a", "bc") differ.
    uint64_t size = bytes.size();
    for (int i = 0; i < 8; ++i) {
      hash = (hash ^ ((size >> (8 * i)) & 0xFF)) * 1099511628211ull;
    }
    for (unsigned char c : bytes) hash = (hash ^ c) * 1099511628211ull;
  };
  for (const auto& [name, bytes] : files) {
    mix(name);
    mix(bytes);
  }
  return hash;
}

}  // namespace backup
