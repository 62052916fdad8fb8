#include <doctest/doctest.h>

#include <set>
#include <string>
#include <vector>

#include "hotkeys/hotkeylistlogic.h"

using namespace hklist;

namespace {

std::vector<int> Codes(const std::vector<OfferedKey>& keys) {
  std::vector<int> codes;
  for (const OfferedKey& k : keys) codes.push_back(k.code);
  return codes;
}

bool Has(const std::vector<OfferedKey>& keys, int code) { return IsOffered(keys, code); }

// The reserved combinations the real test refuses, plus a set held by "other programs".
struct FakeSystem {
  std::set<std::vector<int>> held;  // {alt, ctrl, shift, win, vk}
  int calls = 0;
  TakenTest test() {
    return [this](int alt, int ctrl, int shift, int win, int vk) {
      ++calls;
      if (ctrl && (vk == 'C' || vk == 'V' || vk == 'X')) return true;
      if (alt && vk == 115) return true;
      return held.count({alt, ctrl, shift, win, vk}) != 0;
    };
  }
};

HotkeyDefinition NewHotkey() {
  HotkeyDefinition d;
  d.Win = 1;
  d.vk = -1;
  return d;
}

}  // namespace

TEST_CASE("action summary: every line's text ends with a semicolon and a blank") {
  auto describe = [](const std::string& line) { return "<" + line + ">"; };
  CHECK(ActionSummary({}, describe).empty());
  CHECK(ActionSummary({"Sleep 100"}, describe) == "<Sleep 100>; ");
  CHECK(ActionSummary({"a", "b", "c"}, describe) == "<a>; <b>; <c>; ");
  // A line the describer does not know still takes its place, so the count stays visible.
  CHECK(ActionSummary({"x", "y"}, [](const std::string&) { return std::string(); }) == "; ; ");
}

TEST_CASE("proposed description: base text, blank, number in brackets") {
  CHECK(ProposedDescription("My hotkey", 4) == "My hotkey (4)");
  CHECK(ProposedDescription("Mein Hotkey", 1) == "Mein Hotkey (1)");
  // A translation with a percent sign is taken as text, never as a format.
  CHECK(ProposedDescription("100% %s %n", 12) == "100% %s %n (12)");
  CHECK(ProposedDescription("", 2) == " (2)");
}

TEST_CASE("selection after a delete") {
  // Three rows: the last goes, the new last is selected; the middle goes, the former third moves up.
  CHECK(SelectionAfterDelete(2, 2) == 1);
  CHECK(SelectionAfterDelete(1, 2) == 1);
  CHECK(SelectionAfterDelete(0, 2) == 0);
  CHECK(SelectionAfterDelete(0, 0) == -1);
  CHECK(SelectionAfterDelete(-1, 3) == -1);
  CHECK(SelectionAfterDelete(7, 3) == 2);
}

TEST_CASE("moving rows: never past the ends, never without a selection") {
  CHECK(MoveTarget(1, 3, true) == 0);
  CHECK(MoveTarget(1, 3, false) == 2);
  CHECK(MoveTarget(0, 3, true) == -1);
  CHECK(MoveTarget(2, 3, false) == -1);
  CHECK(MoveTarget(-1, 3, true) == -1);
  CHECK(MoveTarget(-1, 3, false) == -1);
  CHECK(MoveTarget(0, 1, false) == -1);
  CHECK(MoveTarget(5, 3, true) == -1);
}

TEST_CASE("row buttons follow the selection and the row count") {
  RowButtons none = RowButtonStates(-1, 3);
  CHECK_FALSE(none.edit);
  CHECK_FALSE(none.remove);
  CHECK_FALSE(none.up);
  CHECK_FALSE(none.down);
  RowButtons single = RowButtonStates(0, 1);
  CHECK(single.edit);
  CHECK(single.remove);
  CHECK_FALSE(single.up);
  CHECK_FALSE(single.down);
  // Up stays usable on the first row and Down on the last; they then do nothing.
  RowButtons first = RowButtonStates(0, 2);
  CHECK(first.up);
  CHECK(first.down);
  RowButtons last = RowButtonStates(1, 2);
  CHECK(last.up);
  CHECK(last.down);
  CHECK_FALSE(RowButtonStates(0, 0).edit);
  CHECK_FALSE(RowButtonStates(4, 3).remove);
}

TEST_CASE("offered keys: the free ones in table order, one test per table entry") {
  FakeSystem sys;
  std::vector<OfferedKey> keys = OfferedKeyList(0, 0, 0, 1, NewHotkey(), sys.test());
  CHECK(keys.size() == 90);
  CHECK(sys.calls == 90);
  std::vector<int> codes = Codes(keys);
  CHECK(codes.front() == 8);
  CHECK(codes.back() == 144);
  for (size_t i = 1; i < codes.size(); ++i) CHECK(codes[i - 1] < codes[i]);
  CHECK(keys[0].name == "Backspace");
  CHECK(InitialKeySelection(keys, -1) == 65);
}

TEST_CASE("offered keys: Ctrl removes C, V and X, Alt removes F4, held ones are missing") {
  FakeSystem sys;
  sys.held.insert({0, 1, 0, 1, 'K'});
  sys.held.insert({0, 0, 0, 1, 'A'});
  auto withCtrl = OfferedKeyList(0, 1, 0, 1, NewHotkey(), sys.test());
  CHECK_FALSE(Has(withCtrl, 'C'));
  CHECK_FALSE(Has(withCtrl, 'V'));
  CHECK_FALSE(Has(withCtrl, 'X'));
  CHECK_FALSE(Has(withCtrl, 'K'));
  CHECK(Has(withCtrl, 'A'));
  CHECK(withCtrl.size() == 86);
  auto withAlt = OfferedKeyList(1, 0, 0, 0, NewHotkey(), sys.test());
  CHECK_FALSE(Has(withAlt, 115));
  CHECK(Has(withAlt, 'C'));
  // Win alone: A is held, so a new hotkey starts on the next free letter.
  auto winOnly = OfferedKeyList(0, 0, 0, 1, NewHotkey(), sys.test());
  CHECK_FALSE(Has(winOnly, 'A'));
  CHECK(InitialKeySelection(winOnly, -1) == 'B');
}

TEST_CASE("offered keys: a hotkey keeps its own key with its own modifiers") {
  FakeSystem sys;
  HotkeyDefinition own;
  own.Win = 1;
  own.vk = 'K';
  sys.held.insert({0, 0, 0, 1, 'K'});  // this program holds it
  auto keys = OfferedKeyList(0, 0, 0, 1, own, sys.test());
  CHECK(Has(keys, 'K'));
  CHECK(InitialKeySelection(keys, 'K') == 'K');
  // Flags stored as other nonzero numbers are the same modifiers.
  HotkeyDefinition odd = own;
  odd.Win = 7;
  CHECK(Has(OfferedKeyList(0, 0, 0, 5, odd, sys.test()), 'K'));
  // With other modifiers the combination is a different one and is tested like any other.
  sys.held.insert({0, 0, 1, 1, 'K'});
  CHECK_FALSE(Has(OfferedKeyList(0, 0, 1, 1, own, sys.test()), 'K'));
  // Editing Win+V and ticking Ctrl must not let Ctrl+Win+V through.
  HotkeyDefinition v;
  v.Win = 1;
  v.vk = 'V';
  CHECK_FALSE(Has(OfferedKeyList(0, 1, 0, 1, v, sys.test()), 'V'));
  CHECK(Has(OfferedKeyList(0, 0, 0, 1, v, sys.test()), 'V'));
}

TEST_CASE("initial and kept key selection") {
  FakeSystem sys;
  // Everything from A on is taken: a new hotkey opens without a selection.
  TakenTest lettersTaken = [](int, int, int, int, int vk) { return vk >= 65; };
  auto keys = OfferedKeyList(0, 0, 0, 1, NewHotkey(), lettersTaken);
  CHECK(InitialKeySelection(keys, -1) == -1);
  CHECK_FALSE(keys.empty());
  // An existing hotkey whose key is not in the table (or is out of range) opens without a selection:
  // code 0 must not select the key named "0".
  auto all = OfferedKeyList(0, 0, 0, 1, NewHotkey(), sys.test());
  CHECK(InitialKeySelection(all, 186) == -1);
  CHECK(InitialKeySelection(all, 0) == -1);
  CHECK(InitialKeySelection(all, 48) == 48);
  CHECK(KeepKeySelection(all, 'V') == 'V');
  auto ctrl = OfferedKeyList(0, 1, 0, 1, NewHotkey(), sys.test());
  CHECK(KeepKeySelection(ctrl, 'V') == -1);
  CHECK(KeepKeySelection(ctrl, -1) == -1);
}

TEST_CASE("row store: rows own their records, release frees once, the rest goes with the store") {
  struct Counted {
    int* live;
    explicit Counted(int* l) : live(l) { ++*live; }
    ~Counted() { --*live; }
  };
  int live = 0;
  {
    RowStore<Counted> store;
    auto a = store.Add(std::make_unique<Counted>(&live));
    auto b = store.Add(std::make_unique<Counted>(&live));
    CHECK(store.Add(nullptr) == 0);
    CHECK(live == 2);
    CHECK(store.Get(a) != nullptr);
    CHECK(store.Get(0) == nullptr);
    CHECK(store.Release(a));
    CHECK_FALSE(store.Release(a));  // a second delete notification does nothing
    CHECK(store.Get(a) == nullptr);
    CHECK(live == 1);
    CHECK(store.Get(b)->live == &live);
    CHECK(store.size() == 1);
  }
  CHECK(live == 0);
}
