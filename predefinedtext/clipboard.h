// Saving and restoring every clipboard format around the paste of a predefined text.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace CLIPBD {

struct LocalBlockFree {
  void operator()(void* p) const {
    if (p) ::LocalFree(p);
  }
};

// One saved format. The record owns its data block, so no path out of a save or a restore can
// leak it.
struct CClipboardFormatData {
  UINT format = 0;
  std::string name;  // the registered name, at most 255 characters; empty for the predefined formats
  int32_t size = 0;  // bytes in data; 0 when nothing could be captured
  std::unique_ptr<void, LocalBlockFree> data;
};

using SavedClipboard = std::vector<CClipboardFormatData>;

// The clipboard open for the scope, with `owner` as its owner. Another program may hold it for a
// moment: opening tries again every 25 ms for up to `patienceMs`, waiting as asked.
class OpenedClipboard {
 public:
  enum class Waiting { Block, PumpMessages };
  explicit OpenedClipboard(HWND owner, DWORD patienceMs = 0, Waiting waiting = Waiting::Block);
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  ~OpenedClipboard();
  explicit operator bool() const { return m_open; }

 private:
  bool m_open = false;
};

SavedClipboard SaveClipboard(HWND owner);
// Puts the saved formats back; the blocks are freed whatever happens. False when the clipboard
// could not be opened.
bool RestoreClipboard(SavedClipboard saved, HWND owner);
// Replaces the clipboard by `text` (UTF-8) as Unicode text. False when the clipboard could not be
// opened or the text could not be placed.
bool PutTextOnClipboard(const std::string& text, HWND owner);

// Pastes `text` (UTF-8, placeholders expanded) into the foreground window through the clipboard
// and puts the clipboard back as it was. `selector` is hidden once the keys are sent. The restore
// does not hold up the program while another program keeps the clipboard open: it is tried again
// until the clipboard is free (or given up after 30 s), and never over a copy the user made
// since the paste.
void InsertText(const std::string& text, HWND selector);
// For the program's end: puts back at once the clipboard a paste saved, while the paste still
// waits for its target or its restore waits for the clipboard. `owner` opens the clipboard.
void RestoreInterruptedPaste(HWND owner);

}  // namespace CLIPBD
