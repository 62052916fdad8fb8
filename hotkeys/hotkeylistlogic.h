// The rules behind the two hotkey dialogs, kept apart from any window so they can be checked on
// their own: what the lists show, which row is selected after a change, which buttons are usable
// and which keys the key box offers. Portable: no <windows.h>.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "hotkeys/hotkeyitem.h"

namespace hklist {

// The third column of the manage list: each line's display text followed by "; ".
std::string ActionSummary(const std::vector<std::string>& lines,
                          const std::function<std::string(const std::string&)>& describe);

// The description a new hotkey starts with: the base text, a blank and the number in brackets.
std::string ProposedDescription(const std::string& baseText, int number);

// The row to select after the row at `deleted` went, with `remaining` rows left; -1 for none.
int SelectionAfterDelete(int deleted, int remaining);

// The row the selected row moves to (one up or one down), or -1 when it cannot move.
int MoveTarget(int selected, int count, bool up);

// Which of a list's row buttons can be used: a selected row for remove/edit, and a selected row in
// a list of at least two for the move buttons (which then do nothing at the ends).
struct RowButtons {
  bool edit = false;
  bool remove = false;
  bool up = false;
  bool down = false;
};
RowButtons RowButtonStates(int selected, int count);

// Answers whether a combination cannot be used (by the system, another program or a reserved one).
using TakenTest = std::function<bool(int alt, int ctrl, int shift, int win, int vk)>;

struct OfferedKey {
  int code;
  std::string name;
};

// The keys the key box offers for the checked modifiers, in the key name table's order: the free
// ones, and the hotkey's own key as long as the modifiers are the ones it was opened with (the
// program itself holds that combination). `original` is the hotkey as the editor got it.
std::vector<OfferedKey> OfferedKeyList(int alt, int ctrl, int shift, int win, const HotkeyDefinition& original,
                                       const TakenTest& taken);

// The key selected when the editor opens: for a new hotkey (vk -1) the first offered code of 65 or
// more, else the hotkey's own key when it is offered; -1 for no selection.
int InitialKeySelection(const std::vector<OfferedKey>& offered, int vk);

// After a refill: the key that was selected when it is still offered, else -1 (no selection).
int KeepKeySelection(const std::vector<OfferedKey>& offered, int previous);

// Whether the code is among the offered keys.
bool IsOffered(const std::vector<OfferedKey>& offered, int code);

// Heap records owned on behalf of list rows. A row keeps only the handle (its item data); deleting
// the row releases the record, and whatever is left goes with the store, so no path leaks.
template <typename T>
class RowStore {
 public:
  using Handle = std::intptr_t;

  Handle Add(std::unique_ptr<T> record) {
    if (!record) return 0;
    auto handle = reinterpret_cast<Handle>(record.get());
    m_records[handle] = std::move(record);
    return handle;
  }
  // The record of a handle, or null for one this store does not hold.
  T* Get(Handle handle) const {
    auto it = m_records.find(handle);
    return it == m_records.end() ? nullptr : it->second.get();
  }
  // Frees the record; false for a handle this store does not hold (freed already, or foreign).
  bool Release(Handle handle) { return m_records.erase(handle) != 0; }
  void Clear() { m_records.clear(); }
  size_t size() const { return m_records.size(); }

 private:
  std::map<Handle, std::unique_ptr<T>> m_records;
};

}  // namespace hklist
