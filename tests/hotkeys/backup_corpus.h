// Backup files for the tests, generated here so every damaged one says how it was made.
// Portable: used by the native checks of the document and by the Windows tests of the import.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/utf16.h"

namespace backup_corpus {

inline std::string Utf16LE(const std::string& utf8, bool mark = true) { return Utf16LEFromUtf8(utf8, mark); }

constexpr char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"UNICODE\"?>\r\n";

inline std::string Item(const std::string& attributes) { return "<HkItem " + attributes + "/>"; }

inline std::string GoodItem() {
  return Item(
      "Alt=\"1\" Ctrl=\"0\" Shift=\"0\" Win=\"0\" vk=\"112\" Enable=\"1\" Description=\"Run\" "
      "ActionLines=\"Sleep 500|-*-|-*-|EmptyClipboard|-*-|-*-|\"");
}

inline std::string GoodConfig() {
  return "<config><item name=\"Greeting\" value=\"Hello\"><item name=\"Inner\" value=\"x\"/></item></config>";
}

// A backup document (as UTF-8 text, declaration included) from its parts.
inline std::string Document(const std::string& items, const std::string& canned) {
  return std::string(kDeclaration) + "<DATA><Hotkeys>" + items + "</Hotkeys><CannedResponds>" + canned +
         "</CannedResponds></DATA>";
}

inline std::string GoodBackupText() { return Document(GoodItem(), GoodConfig()); }
inline std::string GoodBackup() { return Utf16LE(GoodBackupText()); }

// (name, file bytes) of backups that must be refused as a whole.
inline std::vector<std::pair<std::string, std::string>> DamagedBackups() {
  std::vector<std::pair<std::string, std::string>> c;
  const std::string good = GoodBackup();
  c.emplace_back("zero-length", "");
  c.emplace_back("byte-order mark only", "\xFF\xFE");
  c.emplace_back("not XML", Utf16LE("This is a shopping list, not a backup.\r\n"));
  c.emplace_back("truncated in the middle", good.substr(0, good.size() / 2));
  c.emplace_back("truncated before the last tag closes", good.substr(0, good.size() - 4));
  c.emplace_back("odd number of bytes", good.substr(0, good.size() - 1));
  c.emplace_back("big-endian mark on little-endian text", "\xFE\xFF" + good.substr(2));
  c.emplace_back("UTF-8 bytes that are no UTF-8",
                 "<?xml version=\"1.0\" encoding=\"UTF-8\"?><DATA><Hotkeys/><CannedResponds><config name=\"\xC3\x28\"/>"
                 "</CannedResponds></DATA>");
  c.emplace_back("binary noise", std::string("\x00\x01\x02\xFF\x80\x7F\x10\x00\x00\xFE", 10));
  c.emplace_back("another root element",
                 Utf16LE(std::string(kDeclaration) + "<BACKUP><Hotkeys>" + GoodItem() +
                         "</Hotkeys><CannedResponds>" + GoodConfig() + "</CannedResponds></BACKUP>"));
  c.emplace_back("no Hotkeys",
                 Utf16LE(std::string(kDeclaration) + "<DATA><CannedResponds>" + GoodConfig() + "</CannedResponds></DATA>"));
  c.emplace_back("no CannedResponds",
                 Utf16LE(std::string(kDeclaration) + "<DATA><Hotkeys>" + GoodItem() + "</Hotkeys></DATA>"));
  c.emplace_back("no config", Utf16LE(Document(GoodItem(), "")));
  c.emplace_back("config in the wrong place",
                 Utf16LE(Document(GoodItem(), "<texts>" + GoodConfig() + "</texts>")));
  c.emplace_back("description beyond what a hotkey file can hold",
                 Utf16LE(Document(Item("vk=\"65\" Description=\"" + std::string(70000, 'd') + "\""), GoodConfig())));
  c.emplace_back("action lines beyond the limit",
                 Utf16LE(Document(Item("vk=\"65\" ActionLines=\"" + std::string((1u << 20) + 10, 'a') + "\""),
                                  GoodConfig())));
  c.emplace_back("attribute value beyond what the reader accepts",
                 Utf16LE(Document(Item("vk=\"65\" Description=\"" + std::string((16u << 20) + 16, 'h') + "\""),
                                  GoodConfig())));
  {
    std::string deep;
    for (int i = 0; i < 1500; ++i) deep += "<item name=\"n\" value=\"v\">";
    for (int i = 0; i < 1500; ++i) deep += "</item>";
    c.emplace_back("texts nested too deeply", Utf16LE(Document(GoodItem(), "<config>" + deep + "</config>")));
  }
  {
    std::string many;
    many.reserve(100000 * 16);
    for (int i = 0; i < 100000; ++i) many += "<HkItem vk=\"1\"/>";
    c.emplace_back("more hotkeys than file names", Utf16LE(Document(many, GoodConfig())));
  }
  c.emplace_back("unknown entity", Utf16LE(Document(Item("Description=\"&nope;\""), GoodConfig())));
  c.emplace_back("two root elements", Utf16LE(GoodBackupText() + "<DATA/>"));
  return c;
}

}  // namespace backup_corpus
