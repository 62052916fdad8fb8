// The keyboard in the program's windows, pressed as the user presses it: the keys go through the
// message loop and the dialog manager of the real program.
#include <doctest/doctest.h>

#include <windows.h>

#include <functional>
#include <string>

#include "include/GlobalData.h"
#include "language/langformat.h"
#include "tests/e2e/e2e_support.h"

namespace {

constexpr int kCompanyLink = 1082, kMinimize = 1052, kOptionsButton = 1070, kUpdateButton = 1007;
constexpr int kAboutLegalLink = 1063, kOptionsTranslateLink = 1069;

using Quorvel = RunningQuorvel;

// Presses Tab until the focus is on the control with `id` inside `window` (its own or a page's).
bool TabTo(HWND window, int id) {
  for (int i = 0; i < 30; ++i) {
    HWND focus = FocusIn(window);
    if (focus && ::GetDlgCtrlID(focus) == id && (::GetParent(focus) == window || ::IsChild(window, focus))) return true;
    PressChord({}, VK_TAB);
    WaitUntil([] { return false; }, 60);
  }
  return false;
}

void ShowBySecondStart(const ProgramCopy& program, HWND main) {
  RunningProcess second(program.exe());
  REQUIRE(second.WaitExit(15000) == 0);
  REQUIRE(WaitUntil([&] { return ::IsWindowVisible(main) && ::GetForegroundWindow() == main; }, 5000));
  WaitUntil([] { return false; }, 300);
}

// Enter on the link `linkId` of the box follows the link and leaves the box up; Escape then
// closes the box. The program runs on through both.
void EnterFollowsLinkEscapeCloses(const Quorvel& q, HWND box, int linkId) {
  REQUIRE(TabTo(box, linkId));
  PressChord({}, VK_RETURN);
  WaitUntil([] { return false; }, 1000);
  CHECK(::IsWindow(box));
  CHECK(q.process.Running());

  ::SetForegroundWindow(box);
  WaitUntil([&] { return ::GetForegroundWindow() == box; }, 5000);
  PressChord({}, VK_ESCAPE);
  CHECK(WaitUntil([&] { return !::IsWindow(box); }, 5000));
  CHECK(q.process.Running());
}

}  // namespace

TEST_CASE("main window: Enter clicks the focused button or link and never ends the program; Escape hides it") {
  ProgramCopy program;
  Quorvel q(program);
  ShowBySecondStart(program, q.main);

  // Enter on the maker's link follows the link: the window stays, and so does the program.
  REQUIRE(TabTo(q.main, kCompanyLink));
  PressChord({}, VK_RETURN);
  WaitUntil([] { return false; }, 1000);
  REQUIRE(q.process.Running());
  CHECK(::IsWindowVisible(q.main));

  // Enter on the minimize button clicks it: the window goes to the tray.
  ::SetForegroundWindow(q.main);
  REQUIRE(TabTo(q.main, kMinimize));
  PressChord({}, VK_RETURN);
  CHECK(WaitUntil([&] { return ::IsWindowVisible(q.main) == FALSE; }, 5000));
  CHECK(q.process.Running());

  // Escape hides the window as before.
  ShowBySecondStart(program, q.main);
  PressChord({}, VK_ESCAPE);
  CHECK(WaitUntil([&] { return ::IsWindowVisible(q.main) == FALSE; }, 5000));
  CHECK(q.process.Running());
}

TEST_CASE("about box: Enter on the legal link follows it instead of closing the box; Escape closes it") {
  ProgramCopy program;
  Quorvel q(program);
  const std::string caption = CaptionText(program, "English.txt", "L0147");
  OpenAboutFromTrayMenu(q.main);
  HWND about = nullptr;
  REQUIRE(WaitUntil([&] { return (about = FindBoxOf(q.process.pid(), caption)) != nullptr; }, 5000));
  REQUIRE(WaitUntil([&] { return ::GetForegroundWindow() == about; }, 5000));

  EnterFollowsLinkEscapeCloses(q, about, kAboutLegalLink);
}

TEST_CASE("options: Enter on the options button opens the dialog; Enter on the translation link keeps it open") {
  ProgramCopy program;
  Quorvel q(program);
  ShowBySecondStart(program, q.main);
  const std::string caption = CaptionText(program, "English.txt", "L0002");

  REQUIRE(TabTo(q.main, kOptionsButton));
  PressChord({}, VK_RETURN);
  HWND options = nullptr;
  REQUIRE(WaitUntil([&] { return (options = FindBoxOf(q.process.pid(), caption)) != nullptr; }, 5000));
  REQUIRE(WaitUntil([&] { return ::GetForegroundWindow() == options; }, 5000));
  WaitUntil([] { return false; }, 300);

  EnterFollowsLinkEscapeCloses(q, options, kOptionsTranslateLink);
}

TEST_CASE("started into the tray, the program leaves the keyboard with the user's window: what is typed reaches it") {
  PasteTarget target;
  ProgramCopy program;
  Quorvel q(program);
  // Whatever the start could take, it has taken by now.
  WaitUntil([] { return false; }, 500);
  CHECK(::GetForegroundWindow() == target.window);
  // A space on a button of the hidden window would open the options dialog there.
  for (BYTE key : {BYTE('A'), BYTE(VK_SPACE), BYTE('B'), BYTE(VK_RETURN), BYTE('C')}) PressChord({}, key);
  CHECK(WaitUntil([&] { return WindowText(target.edit) == "a b\r\nc"; }, 3000));
  CHECK(WindowText(target.edit) == "a b\r\nc");
  int shown = 0;
  for (HWND w : WindowsOf(q.process.pid())) shown += ::IsWindowVisible(w) ? 1 : 0;
  CHECK(shown == 0);
  CHECK(q.process.Running());
}

namespace {

// The program copy speaks `language` from its next start.
void Speak(const ProgramCopy& program, const std::string& language) {
  WriteFileBytes(program / "Settings.ini", "[Settings]\r\nLanguageFile=" + language + "\r\nFirstRun=0\r\nUpdateUrl=\r\n");
}

// The key that the text of `key` marks in `language`.
BYTE MarkedKey(const ProgramCopy& program, const std::string& language, const char* key) {
  const std::string keys = lang::AccessKeys(LanguageText(program, language, key));
  REQUIRE(keys.size() == 1);
  return KeyOf(keys[0]);
}

// The keys open the dialog with the caption of `captionKey`, which Escape closes again.
void KeysOpenDialog(const Quorvel& q, const ProgramCopy& program, const std::string& language,
                    std::initializer_list<BYTE> modifiers, BYTE key, const char* captionKey) {
  PressChord(modifiers, key);
  HWND box = WaitForDialog(q.process.pid(), CaptionText(program, language, captionKey));
  REQUIRE(box);
  REQUIRE(WaitUntil([&] { return ::GetForegroundWindow() == box; }, 5000));
  WaitUntil([] { return false; }, 300);
  PressChord({}, VK_ESCAPE);
  CHECK(WaitUntil([&] { return !::IsWindow(box); }, 5000));
}

}  // namespace

TEST_CASE("main window in both languages: own access keys, Tab in reading order; Alt and a key opens its dialog") {
  for (const std::string language : {"English.txt", "Deutsch.txt"}) {
    CAPTURE(language);
    ProgramCopy program;
    Speak(program, language);
    Quorvel q(program);
    ShowBySecondStart(program, q.main);
    // As when a newer version is found: then the update button takes the focus too.
    ::EnableWindow(::GetDlgItem(q.main, kUpdateButton), TRUE);
    // The maker's link shows the company name of the program's version information.
    CheckKeyboardUse(q.main, {kCompanyLink});

    struct Opens {
      const char* button;   // the key of the button's text
      const char* caption;  // the key of the caption of the dialog it opens
    };
    for (const Opens& o : {Opens{"L0002", "L0002"}, Opens{"L0008", "L0018"}, Opens{"L0048", "L0006"},
                           Opens{"L0060", "L0060"}}) {
      CAPTURE(o.button);
      ::SetForegroundWindow(q.main);
      REQUIRE(WaitUntil([&] { return ::GetForegroundWindow() == q.main; }, 5000));
      KeysOpenDialog(q, program, language, {kAlt}, MarkedKey(program, language, o.button), o.caption);
    }
    CHECK(q.process.Running());
  }
}

// Keys that are not the entries' first letters, which a menu would choose by without marks.
TEST_CASE("tray menu: an entry's access key chooses it, in English the exit, in German the about box") {
  {
    ProgramCopy program;
    Speak(program, "English.txt");
    Quorvel q(program);
    OpenTrayMenu(q.main);
    PressChord({}, MarkedKey(program, "English.txt", "L0001"));
    CHECK(q.process.WaitExit(10000) == 2);
  }
  ProgramCopy program;
  Speak(program, "Deutsch.txt");
  Quorvel q(program);
  OpenTrayMenu(q.main);
  PressChord({}, MarkedKey(program, "Deutsch.txt", "L0146"));
  WaitUntil([] { return false; }, 300);
  KeysOpenDialog(q, program, "Deutsch.txt", {}, MarkedKey(program, "Deutsch.txt", "L0147"), "L0147");
  CHECK(q.process.Running());
}
