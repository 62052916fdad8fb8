#include <doctest/doctest.h>

#include "hotkeys/hotkeyitem.h"

TEST_CASE("key names") {
  KeyNameTable table;
  BuildKeyNameTable(table);
  CHECK(table.size() == 90);
  CHECK(GetKeyName(65) == "A");
  CHECK(GetKeyName(48) == "0");
  CHECK(GetKeyName(96) == "NUM 0");
  CHECK(GetKeyName(105) == "NUM 9");
  CHECK(GetKeyName(112) == "F1");
  CHECK(GetKeyName(135) == "F24");
  CHECK(GetKeyName(144) == "NUM Lock");
  CHECK(GetKeyName(33) == "Page Up");
  CHECK(GetKeyName(108) == "108");
  CHECK(GetKeyName(-1) == "-1");
  CHECK(GetKeyName(186) == "186");
}

TEST_CASE("combination texts put the modifiers in a fixed order") {
  CHECK(FormatHotkeyText(1, 1, 0, 0, 112) == "CTRL+ALT+F1");
  CHECK(FormatHotkeyText(0, 0, 0, 1, 65) == "WIN+A");
  CHECK(FormatHotkeyText(0, 0, 0, 0, 186) == "186");
  CHECK(FormatHotkeyText(1, 1, 1, 1, 46) == "CTRL+SHIFT+ALT+WIN+Delete");
  CHECK(FormatHotkeyText(7, -3, 0, 0, 65) == "CTRL+ALT+A");  // any nonzero flag counts
  HotkeyDefinition d;
  d.Alt = 1;
  d.Win = 5;
  d.vk = 'Q';
  CHECK(FormatHotkeyText(d) == "ALT+WIN+Q");
  CHECK(HotkeyModifiers(d) == (kModAlt | kModWin));
}

TEST_CASE("descriptions that are language keys") {
  auto lookup = [](const std::string& key) { return "<" + key + ">"; };
  CHECK(DescriptionText("L0028", lookup) == "<L0028>");
  CHECK(DescriptionText("l0028", lookup) == "<l0028>");
  CHECK(DescriptionText("L002", lookup) == "L002");
  CHECK(DescriptionText("L00280", lookup) == "L00280");
  CHECK(DescriptionText("Lunch", lookup) == "<Lunch>");  // five characters with an L: a key, by rule
  CHECK(DescriptionText("Mail", lookup) == "Mail");
}

TEST_CASE("action lines from section entries") {
  auto noLead = [](unsigned char) { return false; };
  auto lines = ActionLinesFromEntries({"Action00001=Sleep 500=1", "InsertPredefinedText", "Action00002=", "=x"},
                                      noLead);
  CHECK(lines == std::vector<std::string>{"Sleep 500=1", "InsertPredefinedText", "x"});
  // A double-byte character whose trail byte is "=" is not a separator.
  auto lead = [](unsigned char c) { return c == 0x81; };
  lines = ActionLinesFromEntries({std::string("\x81=k=v")}, lead);
  CHECK(lines == std::vector<std::string>{"v"});
  // A lead byte at the very end does not step past the entry.
  lines = ActionLinesFromEntries({std::string("a\x81")}, lead);
  CHECK(lines == std::vector<std::string>{std::string("a\x81")});
}

TEST_CASE("hotkey file names and damaged records") {
  CHECK(HotkeyFileName(1) == "Hotkey-00001.ini");
  CHECK(HotkeyFileName(123) == "Hotkey-00123.ini");
  HotkeyDefinition d;
  d.Alt = 42;
  d.Ctrl = -1;
  d.Enable = 99999;
  d.vk = 2147483647;
  NormalizeHotkeyDefinition(d);
  CHECK(d.Alt == 1);
  CHECK(d.Ctrl == 1);
  CHECK(d.Shift == 0);
  CHECK(d.Enable == 1);
  // The key code is what the file says, whatever it is: a save must give it back unchanged.
  CHECK(d.vk == 2147483647);
  d.vk = -77;
  NormalizeHotkeyDefinition(d);
  CHECK(d.vk == -77);
  d.vk = 65;
  NormalizeHotkeyDefinition(d);
  CHECK(d.vk == 65);
}

TEST_CASE("only the virtual keys 0 to 254 can be registered; others show as their number") {
  CHECK(IsRegistrableKey(0));
  CHECK(IsRegistrableKey(65));
  CHECK(IsRegistrableKey(254));
  CHECK_FALSE(IsRegistrableKey(255));
  CHECK_FALSE(IsRegistrableKey(300));
  CHECK_FALSE(IsRegistrableKey(-1));
  CHECK(FormatHotkeyText(0, 1, 0, 0, 300) == "CTRL+300");
}
