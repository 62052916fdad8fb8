// The editing commands of the running program: what a user does with the main window's buttons.
#include <doctest/doctest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "include/GlobalData.h"
#include "include/xmldom.h"
#include "tests/e2e/e2e_support.h"
#include "tests/support/utf16.h"
#include "textshortcuts_ids.h"

namespace {

bool NoDialog(DWORD pid, const ProgramCopy& program, const char* captionKey) {
  const std::string caption = LanguageText(program, "English.txt", captionKey);
  return WindowsOf(pid, &caption).empty();
}

}  // namespace


TEST_CASE("a hotkey added from the main window is saved and works at once; a second editor never opens") {
  ProgramCopy program;
  RunningQuorvel q(program);
  RunningProcess& process = q.process;
  HWND main = q.main;
  const std::string registeredNone = WindowText(::GetDlgItem(main, 1024));

  // The add button opens the hotkey editor straight away, without the list.
  PostClick(main, 1074);
  HWND editor = WaitForDialog(process.pid(), LanguageText(program, "English.txt", "L0018"));
  REQUIRE(editor);
  CHECK(NoDialog(process.pid(), program, "L0006"));

  // While it is up, neither the tray menu's manage entry nor the options button opens anything.
  ::PostMessageA(main, WM_COMMAND, MAKEWPARAM(4, 0), 0);
  PostClick(main, 1070);
  WaitUntil([] { return false; }, 500);
  CHECK(NoDialog(process.pid(), program, "L0006"));
  CHECK(NoDialog(process.pid(), program, "L0002"));

  PostClick(editor, IDOK);
  const std::string file = program / "hotkeys\\Hotkey-00001.ini";
  REQUIRE(WaitUntil([&] { return ::GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES; }, 10000));
  REQUIRE(WaitUntil([&] { return WindowText(::GetDlgItem(main, 1024)) != registeredNone; }, 10000));

  // A new hotkey proposes Win and the first free key from A on; the program now holds it.
  CHECK(::GetPrivateProfileIntA("Setting", "Win", -1, file.c_str()) == 1);
  CHECK(::GetPrivateProfileIntA("Setting", "Ctrl", -1, file.c_str()) == 0);
  CHECK(::GetPrivateProfileIntA("Setting", "Enable", -1, file.c_str()) == 1);
  UINT vk = ::GetPrivateProfileIntA("Setting", "vk", 0, file.c_str());
  CHECK(vk >= 65);
  CHECK_FALSE(::RegisterHotKey(nullptr, 0x5A5A, MOD_WIN, vk));

  // The manage dialog lists it; Cancel changes nothing.
  PostClick(main, 1075);
  HWND manage = WaitForDialog(process.pid(), LanguageText(program, "English.txt", "L0006"));
  REQUIRE(manage);
  CHECK(::SendMessageA(::GetDlgItem(manage, 1009), LVM_GETITEMCOUNT, 0, 0) == 1);
  PostClick(manage, IDCANCEL);
  REQUIRE(WaitUntil([&] { return !::IsWindow(manage); }, 10000));
  CHECK(::GetPrivateProfileIntA("Setting", "vk", 0, file.c_str()) == static_cast<int>(vk));

  // The options dialog's OK registers everything anew: the hotkey keeps working.
  PostClick(main, 1070);
  HWND options = WaitForDialog(process.pid(), LanguageText(program, "English.txt", "L0002"));
  REQUIRE(options);
  PostClick(options, IDOK);
  REQUIRE(WaitUntil([&] { return !::IsWindow(options); }, 10000));
  WaitUntil([] { return false; }, 300);
  CHECK_FALSE(::RegisterHotKey(nullptr, 0x5A5A, MOD_WIN, vk));

  // The text shortcuts button opens the editor over the window; browsing and Cancel leave the texts.
  const std::string texts = program / "predefinedtext\\data.xml";
  const std::string textsBefore = ReadFileBytes(texts);
  PostClick(main, 1079);
  HWND editorOfTexts = WaitForDialog(process.pid(), LanguageText(program, "English.txt", "L0060"));
  REQUIRE(editorOfTexts);
  PostClick(editorOfTexts, IDCANCEL);
  REQUIRE(WaitUntil([&] { return !::IsWindow(editorOfTexts); }, 10000));
  CHECK(ReadFileBytes(texts) == textsBefore);

  ::PostMessageA(main, WM_COMMAND, MAKEWPARAM(1, 0), 0);
  CHECK(process.WaitExit(10000) == 2);
}

namespace {

// Names and texts beyond any one code page, nested, one of them on two lines.
const char kStoredTexts[] =
    "<item name=\"\xC5\x81\xC3\xB3" "d\xC5\xBA\" value=\"\xC5\x81\xC3\xB3" "d\xC5\xBA \xE2\x86\x92 \xE2\x82\xAC "
    "\xF0\x9F\x98\x80 \xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1\">"
    "<item name=\"\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\" value=\"\xE3\x81\x93\xE3\x82\x93\xE3\x81\xAB\xE3\x81\xA1"
    "\xE3\x81\xAF\\r\\n\xE4\xB8\x96\xE7\x95\x8C\"/></item>"
    "<item name=\"Gr\xC3\xBC\xC3\x9F" "e\" value=\"Mit freundlichen Gr\xC3\xBC\xC3\x9F" "en \xE2\x80\x94 \xE2\x98\xBA\"/>";
const char kLastText[] = "Mit freundlichen Gr\xC3\xBC\xC3\x9F" "en \xE2\x80\x94 \xE2\x98\xBA";
// What the user types: letters of other scripts, a symbol and a character outside the BMP.
const char kTyped[] = " \xC2\xA1Ol\xC3\xA9! \xE2\x9C\x93 \xF0\x9F\x98\x80 \xC5\xBC";

POINT CentreOf(HWND control) {
  RECT rc = {};
  ::GetWindowRect(control, &rc);
  return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

}  // namespace

TEST_CASE("text shortcuts editor: what the user types beside texts of any script is saved with every character") {
  ProgramCopy program;
  const std::string texts = program / "predefinedtext\\data.xml";
  const std::string before =
      Utf16LEFromUtf8("<?xml version=\"1.0\" encoding=\"UNICODE\"?>\r\n<config>" + std::string(kStoredTexts) + "</config>\r\n");
  WriteFileBytes(texts, before);
  RunningQuorvel q(program);
  q.Show();
  PostClick(q.main, 1079);
  HWND editor = WaitForDialog(q.process.pid(), LanguageText(program, "English.txt", "L0060"));
  REQUIRE(editor);
  REQUIRE(WaitUntil([&] { return ::GetForegroundWindow() == editor; }, 5000));
  HWND box = ::GetDlgItem(editor, IDC_TS_TEXT);
  // Wine's edit controls keep every character either way; Windows' ANSI ones keep the code page's only.
  CHECK(::IsWindowUnicode(box));
  CHECK(::IsWindowUnicode(::GetDlgItem(editor, IDC_TS_TREE)));

  // The tree has the keyboard; End takes the last entry, whose text the box then shows.
  PressChord({}, VK_END);
  REQUIRE(WaitUntil([&] { return WindowTextUtf8(box) == kLastText; }, 5000));
  ClickAt(CentreOf(box));
  PressChord({kCtrl}, VK_END);
  TypeUnicode(kTyped);
  const std::string edited = std::string(kLastText) + kTyped;
  CHECK(WaitUntil([&] { return WindowTextUtf8(box) == edited; }, 5000));
  ClickAt(CentreOf(::GetDlgItem(editor, IDOK)));
  REQUIRE(WaitUntil([&] { return !::IsWindow(editor); }, 10000));

  // Every entry as it was, the typed one with the user's characters added.
  xml::ParseResult saved = xml::Parse(ReadFileBytes(texts));
  xml::ParseResult expected = xml::Parse(before);
  REQUIRE(saved);
  REQUIRE(expected);
  xml::NodePtr last = expected.document->SelectNodes("/config/item").Item(1);
  REQUIRE(last);
  last->SetAttribute("value", edited);
  CHECK(xml::DeepEqual(*saved.document, *expected.document));
  std::string savedOutline;
  CHECK(xml::Serialize(*saved.document, savedOutline));
  CAPTURE(savedOutline);
  CHECK(savedOutline.find(edited) != std::string::npos);
}
