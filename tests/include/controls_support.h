// A parent window for control tests and a count of live GDI objects that also works where
// GetGuiResources is a stub. The pixel captures and pictures are in tests/support/capture.h.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "include/handles.h"
#include "tests/support/capture.h"

// The background every test parent paints, so a test knows what shows through.
constexpr COLORREF kParentColour = RGB(40, 90, 160);

struct CommandRecord {
  int id;
  int code;
  HWND from;
};

// A visible top-level window with a solid background that records the commands it receives.
class TestParent {
 public:
  explicit TestParent(int width = 480, int height = 360, HFONT font = nullptr, DWORD style = 0);
  TestParent(const TestParent&) = delete;
  TestParent& operator=(const TestParent&) = delete;
  ~TestParent();

  HWND hwnd() const { return m_hwnd; }
  HWND AddChild(const char* cls, const char* text, DWORD style, int id, int x, int y, int w, int h);
  // The parent's font (WM_GETFONT) is handed to every child.
  HFONT font() const { return m_font; }

  std::vector<CommandRecord> commands;
  // Called for each WM_COMMAND after it is recorded.
  std::function<void(const CommandRecord&)> onCommand;
  // Called for WM_ERASEBKGND instead of the solid fill when set.
  std::function<bool(HDC)> onErase;
  // Called first for every message; true when it answered it (in `result`).
  std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT& result)> onMessage;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  HWND m_hwnd = nullptr;
  FontHandle m_ownedFont;
  HFONT m_font = nullptr;
};

// Live GDI objects of this process: GetGuiResources, or where that is a stub (Wine) the number of
// handle-table entries in use, found by filling the table's free entries with probes.
long LiveGdiObjects();
// Top-level windows of this thread (tooltips among them).
int ThreadWindowCount();
