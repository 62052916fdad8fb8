// The backup document: every hotkey and the whole predefined text store in one XML document.
// Portable (no <windows.h>): building the document from stored values and checking a document
// someone hands us, before anything on disk is touched.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "hotkeys/hotkeyitem.h"
#include "include/xml.h"

namespace backup {

// Every action line in a backup is followed by this, the last one too.
constexpr char kActionSeparator[] = "|-*-|-*-|";

// What a backup may hold. A hotkey file name has five digits; the profile reader reads a
// description into a 65535-byte buffer; larger action lists would take minutes to write line by
// line. Anything beyond these is a damaged or hostile file, not a configuration.
constexpr size_t kMaxHotkeys = 99999;
constexpr size_t kMaxDescriptionBytes = 65534;
constexpr size_t kMaxActionLinesBytes = size_t{1} << 20;

std::string JoinActionLines(const std::vector<std::string>& lines);
// Splits at every separator and drops the empty pieces.
std::vector<std::string> SplitActionLines(std::string_view joined);

// A number as the platform's variant conversion reads text: blanks around it, an optional sign,
// digits with an optional fraction rounded half to even. Nothing for text that is no number or
// does not fit 32 bits.
std::optional<int32_t> TextToInt32(std::string_view text);

// One hotkey file's values as the file holds them (single-byte strings, not normalised).
struct StoredHotkey {
  std::string Alt = "0", Ctrl = "0", Shift = "0", Win = "0", vk = "0", Enable = "0";
  std::string Description;
  std::vector<std::string> ActionLines;
};

// DATA with Hotkeys (one HkItem per hotkey, attributes in file order) and CannedResponds holding a
// deep copy of `config` (nothing when it is null), after the declaration. Null only when memory
// or the model refuses.
xml::NodePtr BuildBackupDocument(const std::vector<StoredHotkey>& hotkeys, const xml::Node* config);

// What an import writes: the hotkeys in backup order and the new predefined text file's bytes.
struct BackupContent {
  std::vector<HotkeyDefinition> hotkeys;
  std::string textsFile;
};

// Checks the whole document and converts it: /DATA/Hotkeys and /DATA/CannedResponds/config must
// exist, no value may exceed the limits above, line breaks in values become blanks. An HkItem
// without any of the eight attributes adds no hotkey; a flag that is no number reads as 0.
// False with a reason when the document is no usable backup.
bool ReadBackupDocument(const xml::Node& document, BackupContent& content, std::string* reason = nullptr);

// A fingerprint of a set of files (name, bytes), in the order given.
uint64_t FilesDigest(const std::vector<std::pair<std::string, std::string>>& files);

}  // namespace backup
