// Keystroke cost in the text shortcuts editor: the editor is opened on a store whose first entry
// holds a long text of short lines, and characters are typed into its text box one by one. Each
// keystroke is timed from the character's arrival to the end of its handling, the editor's copy of
// the entry included (the box reports the change, the editor stores the whole text again).
//   textedit_bench.exe WORK_FOLDER [CHARACTERS] [KEYSTROKES]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/benchutil.h"
#include "include/wholefile.h"
#include "include/GlobalData.h"
#include "include/xmlcodec_win.h"
#include "predefinedtext/opt_textshortcuts.h"
#include "textshortcuts_ids.h"

namespace {

// The store as the program writes it: UTF-16LE with its mark, line breaks kept as \r\n.
std::string StoreWithText(size_t characters, size_t& lineBreaks) {
  std::string value;
  lineBreaks = 0;
  // "line x" and a line break: 8 characters in the box, 10 in the file.
  for (size_t inBox = 0; inBox + 8 <= characters; inBox += 8) {
    value += "line ";
    value += static_cast<char>('a' + lineBreaks % 26);
    value += "\\r\\n";
    ++lineBreaks;
  }
  std::string text = "<?xml version=\"1.0\" encoding=\"UNICODE\"?>\r\n<config><item name=\"Long\" value=\"" + value +
                     "\"/><item name=\"Short\" value=\"x\"/></config>";
  std::string bytes = "\xff\xfe";
  for (unsigned char c : text) {
    bytes += static_cast<char>(c);
    bytes += '\0';
  }
  return bytes;
}

struct Run {
  CTextShortcutsDlg* dialog = nullptr;
  int keystrokes = 0;
  size_t boxLength = 0;
  std::vector<double> times;
  bool done = false;
  // The box as it was, for the same typing into a bare edit control of its kind.
  std::string text;
  DWORD style = 0;
  RECT rect = {};
};
Run* g_run = nullptr;

// Types `count` characters half way into the box, one by one; the time of each.
std::vector<double> TypeInto(HWND box, int count) {
  std::vector<double> times;
  ::SetFocus(box);
  const WPARAM middle = static_cast<WPARAM>(::GetWindowTextLengthA(box) / 2);
  ::SendMessageA(box, EM_SETSEL, middle, static_cast<LPARAM>(middle));
  for (int i = 0; i < count; ++i) {
    double start = bench::Now();
    ::SendMessageA(box, WM_CHAR, static_cast<WPARAM>('a' + i % 26), 1);
    times.push_back(bench::Now() - start);
  }
  return times;
}

void CALLBACK Type(HWND, UINT, UINT_PTR timer, DWORD) {
  Run& run = *g_run;
  HWND dialog = run.dialog->hwnd();
  if (run.done || !dialog) return;
  HWND box = ::GetDlgItem(dialog, IDC_TS_TEXT);
  if (!box || ::GetWindowTextLengthA(box) == 0) return;  // not on screen yet
  ::KillTimer(nullptr, timer);
  run.done = true;
  run.boxLength = static_cast<size_t>(::GetWindowTextLengthA(box));
  run.text.assign(run.boxLength + 1, '\0');
  run.text.resize(static_cast<size_t>(::GetWindowTextA(box, &run.text[0], static_cast<int>(run.boxLength + 1))));
  run.style = static_cast<DWORD>(::GetWindowLongA(box, GWL_STYLE));
  ::GetClientRect(box, &run.rect);
  // Half way into the text, where a user would type; each character moves the caret on.
  run.times = TypeInto(box, run.keystrokes);
  ::EndDialog(dialog, IDCANCEL);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: textedit_bench WORK_FOLDER [CHARACTERS] [KEYSTROKES]\n");
    return 2;
  }
  const std::string work = argv[1];
  const size_t characters = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 200000;
  const int keystrokes = argc > 3 ? std::atoi(argv[3]) : 40;
  xml::InstallWin32Platform();
  ::CreateDirectoryA(work.c_str(), nullptr);
  ::CreateDirectoryA((work + "\\predefinedtext").c_str(), nullptr);
  SetGlobalPaths(BuildGlobalPaths(work));
  const std::string store = work + "\\predefinedtext\\data.xml";
  size_t lineBreaks = 0;
  if (!wholefile::Write(store, StoreWithText(characters, lineBreaks))) {
    std::fprintf(stderr, "cannot write %s\n", store.c_str());
    return 1;
  }

  CTextShortcutsDlg dialog(store);
  Run run;
  run.dialog = &dialog;
  run.keystrokes = keystrokes;
  g_run = &run;
  ::SetTimer(nullptr, 0, 50, Type);
  dialog.DoModal(nullptr);
  if (run.times.empty()) {
    std::fprintf(stderr, "the editor showed no text\n");
    return 1;
  }
  std::printf("text shortcuts editor, one keystroke in a text of %zu characters with %zu line breaks:\n",
              run.boxLength, lineBreaks);
  std::printf("  in the editor:          median %.2f ms, slowest %.2f ms over %zu keystrokes\n", bench::Median(run.times),
              *std::max_element(run.times.begin(), run.times.end()), run.times.size());

  // The same typing into a bare edit control of the same kind, size and text: what the control
  // itself costs, without the editor.
  HWND frame = ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, run.rect.right + 40,
                                 run.rect.bottom + 40, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
  HWND bare = ::CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", (run.style & ~WS_DISABLED) | WS_CHILD | WS_VISIBLE, 0, 0,
                                run.rect.right, run.rect.bottom, frame, nullptr, ::GetModuleHandleA(nullptr), nullptr);
  ::SendMessageA(bare, EM_SETLIMITTEXT, 0, 0);
  ::SetWindowTextA(bare, run.text.c_str());
  std::vector<double> bareTimes = TypeInto(bare, run.keystrokes);
  std::printf("  bare edit control:      median %.2f ms, slowest %.2f ms\n", bench::Median(bareTimes),
              *std::max_element(bareTimes.begin(), bareTimes.end()));
  ::DestroyWindow(frame);
  return 0;
}
